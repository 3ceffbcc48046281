#pragma once

#include <QDialog>

class TpBar final : public QDialog
{
    Q_OBJECT

public:
    explicit TpBar(QWidget *parent = nullptr);
};
