#pragma once

#include <QDialog>

class TfrmReport final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmReport(QWidget *parent = nullptr);
};
