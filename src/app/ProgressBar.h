#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The small window shown while a document is read. Reading handles no events, so every
// change is painted at once.
class TpBar final : public QDialog
{
    Q_OBJECT

public:
    explicit TpBar(QWidget *parent = nullptr);

    void setStatus(const QString &text);
    // Kept within the bar's range: a document may hold more patterns than categories.
    void setPosition(int value);

    QLabel *stat = nullptr;
    QProgressBar *pb1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};
