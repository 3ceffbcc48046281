#pragma once

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The small window shown while a document is read. Reading handles no events, so changes
// are painted at once: a new status always, the bar as often as the eye can follow.
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

private:
    QElapsedTimer m_barPainted;
};
