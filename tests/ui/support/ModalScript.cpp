#include "ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace vorrel::test {

namespace {

constexpr int kPollMs = 5;
constexpr int kIdlePolls = 2000;
// Lone scripts are children of the application under this name, for cancelModalWaits().
const QString kLoneName = QStringLiteral("vorrelTestModalScript");

void dismiss(QWidget *window)
{
    if (auto *dialog = qobject_cast<QDialog *>(window))
        dialog->reject();
    else
        window->close();
}

} // namespace

ModalScript::ModalScript(QList<Step> steps, QObject *parent) : QObject(parent), m_steps(std::move(steps))
{
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
    m_timer.start();
}

QStringList ModalScript::seen() const
{
    QStringList names;
    for (const MetWindow &w : met)
        names.append(w.objectName);
    return names;
}

bool ModalScript::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Hide && watched == m_current) {
        watched->removeEventFilter(this);
        m_current = nullptr;
    }
    return false;
}

void ModalScript::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == m_current || !modal->isVisible()) {
        if (!finished() && ++m_idlePolls > kIdlePolls) {
            // The window the next step waits for never came: give up rather than hang.
            m_next = m_steps.size();
            if (modal)
                dismiss(modal);
            if (m_lone)
                retire();
        }
        return;
    }
    if (m_lone && finished())
        return;
    const Step *step = finished() ? nullptr : &m_steps[m_next];
    if (step && !step->window.isEmpty() && modal->objectName() != step->window) {
        ++m_idlePolls;
        return;
    }
    if (step && step->matches && !step->matches(modal)) {
        ++m_idlePolls;
        return;
    }
    m_idlePolls = 0;
    m_current = modal;
    modal->installEventFilter(this);
    auto *box = qobject_cast<QMessageBox *>(modal);
    met.append({ modal->objectName(), modal->windowTitle(), box ? box->text() : QString(),
        box ? box->icon() : QMessageBox::NoIcon });
    if (observe)
        observe(modal);
    std::function<void(QWidget *)> act = step ? step->action : dismiss;
    if (step)
        ++m_next;
    if (m_lone && finished())
        m_timer.stop();
    // Acted on from a posted call, so that a modal window the step opens in turn finds this
    // timer free to fire again.
    QMetaObject::invokeMethod(
        this,
        [this, act, window = QPointer<QWidget>(modal)] {
            if (window)
                act(window);
            if (m_lone && finished())
                retire();
        },
        Qt::QueuedConnection);
}

ModalScript *ModalScript::lone(Step step)
{
    auto *script = new ModalScript({ std::move(step) }, qApp);
    script->setObjectName(kLoneName);
    script->m_lone = true;
    return script;
}

void ModalScript::retire()
{
    m_timer.stop();
    deleteLater();
}

Step press(const char *button)
{
    return Step([button](QWidget *modal) {
        if (auto *b = modal->findChild<QAbstractButton *>(QLatin1String(button)))
            b->click();
        else
            dismiss(modal);
    });
}

Step answer(QMessageBox::StandardButton which)
{
    return Step([which](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box && box->button(which))
            box->button(which)->click();
        else
            dismiss(modal);
    });
}

Step choose(const QString &fileName)
{
    return Step([fileName](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            // selectFile() leaves a focused name field alone: type the name instead.
            dialog->setDirectory(QFileInfo(fileName).absolutePath());
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(QFileInfo(fileName).fileName());
            static_cast<QDialog *>(dialog)->accept();
        } else {
            dismiss(modal);
        }
    });
}

Step cancel()
{
    return Step(dismiss);
}

Step readBox(QString *text)
{
    return Step([text](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            *text = box->windowTitle() + QLatin1Char('|') + box->text();
        modal->close();
    });
}

std::shared_ptr<const bool> whenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action)
{
    auto done = std::make_shared<bool>(false);
    Step step([done, action = std::move(action)](QWidget *modal) {
        *done = true;
        action(modal);
    });
    step.matches = std::move(matches);
    ModalScript::lone(std::move(step));
    return done;
}

std::shared_ptr<const bool> whenModal(const QString &objectName, std::function<void(QWidget *)> action)
{
    return whenModal([objectName](QWidget *modal) { return modal->objectName() == objectName; }, std::move(action));
}

std::shared_ptr<const bool> whenModal(std::function<void(QWidget *)> action)
{
    return whenModal([](QWidget *) { return true; }, std::move(action));
}

void cancelModalWaits()
{
    const auto scripts = qApp->findChildren<ModalScript *>(kLoneName, Qt::FindDirectChildrenOnly);
    for (ModalScript *script : scripts)
        delete script;
}

void expectMessageBox(QString *text, QString *caption)
{
    whenModal([text, caption](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            *text = box->text();
            *caption = box->windowTitle();
            if (QAbstractButton *button = box->defaultButton())
                button->click();
            else
                box->close();
        } else {
            modal->close();
        }
    });
}

} // namespace vorrel::test
