#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <type_traits>

namespace vorrel::test {

// One step of a script: what to do to a modal window, and which window it waits for (any,
// when no name is given).
struct Step
{
    Step() = default;
    template<typename F>
    requires std::is_invocable_v<F, QWidget *> Step(F act) : action(std::move(act)) { }
    Step(QString name, std::function<void(QWidget *)> act) : window(std::move(name)), action(std::move(act)) { }

    QString window;
    std::function<bool(QWidget *)> matches;
    std::function<void(QWidget *)> action;
};

// A modal window as the script met it.
struct MetWindow
{
    QString objectName;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// The one way these tests drive modal windows. Acts on them as they come up, one step each,
// in order, from inside their own event loops: a timer polls, because a window's loop starts
// only inside the caller's exec(). A step that names a window waits for it and leaves other
// windows alone; windows met after the last step are rejected, so a test never hangs, and so
// is everything once about ten seconds pass without the next step's window.
class ModalScript final : public QObject
{
public:
    explicit ModalScript(QList<Step> steps, QObject *parent = nullptr);
    // A script on its own (see whenModal) leaves other windows alone and deletes itself once it
    // has acted or given up.
    static ModalScript *lone(Step step);

    // Every window met, in order: those acted on and those rejected.
    QList<MetWindow> met;
    QStringList seen() const;
    bool finished() const { return m_next >= m_steps.size(); }
    // Called for every window met, before it is acted on or rejected.
    std::function<void(QWidget *)> observe;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void poll();

    void retire();

    QList<Step> m_steps;
    qsizetype m_next = 0;
    bool m_lone = false;
    int m_idlePolls = 0;
    QTimer m_timer;
    QPointer<QWidget> m_current;
};

// Steps for the usual answers.
Step press(const char *button);
Step answer(QMessageBox::StandardButton which);
// Types a file's name into a file dialog and accepts it.
Step choose(const QString &fileName);
Step cancel();
// The box's caption and text, "caption|text"; then closes it.
Step readBox(QString *text);

// A one-step script that lives on its own until it has acted: for windows that come up while
// the test waits with QTRY_VERIFY. The flag turns true once `action` has run.
std::shared_ptr<const bool> whenModal(const QString &objectName, std::function<void(QWidget *)> action);
std::shared_ptr<const bool> whenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action);
std::shared_ptr<const bool> whenModal(std::function<void(QWidget *)> action);

// Drops every lone script that has not acted, so that none of them catches a later test's window.
void cancelModalWaits();

// The text and caption of the next modal message box, which is closed with its default button.
void expectMessageBox(QString *text, QString *caption);

} // namespace vorrel::test
