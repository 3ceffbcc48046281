#pragma once

#include <QDialog>

class TfrmSelEdit final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelEdit(QWidget *parent = nullptr);
};
