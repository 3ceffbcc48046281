#pragma once

#include <QDialog>

class TStartUp final : public QDialog
{
    Q_OBJECT

public:
    explicit TStartUp(QWidget *parent = nullptr);
};
