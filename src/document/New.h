#pragma once

#include <QDialog>

class TfrmNew final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmNew(QWidget *parent = nullptr);
};
