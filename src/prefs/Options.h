#pragma once

#include "prefs/Settings.h"

#include <QDialog>
#include <QFont>

class QButtonGroup;
class QCheckBox;
class QFileDialog;
class QFontDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTabWidget;

// The Options dialog. Its controls are the only run-time store of the seven settings; what the
// settings act on learns of a change through the signals.
class TfrmOptions final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmOptions(QWidget *parent = nullptr);

    // Index of the chosen code-completion item; -1 when none is chosen.
    int codeCompIndex() const;
    // Above 1 selects the last item, below -1 becomes -1, and -1 selects none.
    void setCodeCompIndex(int index);

    // The settings as the controls hold them; a font size that is no number reads as 0.
    vorrel::Settings settings() const;
    void showSettings(const vorrel::Settings &settings);
    // The bot's properties as the "Bot" page's grid holds them; a row without a name counts
    // for nothing.
    vorrel::BotProperties botProperties() const;
    void showBotProperties(const vorrel::BotProperties &properties);

    // Command handlers; they throw on failure and are run through the error box.
    void cmdChangeClick();
    void cmdBrowseClick();
    void cmdDefaultsClick();
    void cmdOKClick();

    void setVisible(bool visible) override;

Q_SIGNALS:
    // OK stored the settings: the preview takes the font, and the rest takes effect.
    void settingsStored(const vorrel::Settings &settings);
    // "Set to defaults" gives the preview editor's own font at once.
    void defaultFontChosen(const QString &face, int pointSize);

public:
    // The settings' pages: the seven settings, and the bot's properties on "Bot".
    QTabWidget *pages = nullptr;
    QWidget *tsGeneral = nullptr;
    QWidget *tsBot = nullptr;
    QTableWidget *botProps = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *fontname = nullptr;
    QLabel *fontsize = nullptr;
    QPushButton *cmdChange = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtDir = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QGroupBox *codeComp = nullptr;
    QCheckBox *comments = nullptr;
    QCheckBox *dialog = nullptr;
    QCheckBox *upcase = nullptr;
    QPushButton *cmdDefaults = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdOK = nullptr;
    QFontDialog *fonts = nullptr;

protected:
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createBotPage();
    // One empty row stays last, for a new property.
    void keepEmptyLastRow();
    void setTabOrderChain();
    void connectCommands();
    // Only the checked item takes Tab, as in a radio group that is one stop in the tab order.
    void updateCodeCompFocus();

    QButtonGroup *m_codeCompItems = nullptr;
    QRadioButton *m_limited = nullptr;
    QRadioButton *m_none = nullptr;
    QFileDialog *m_folderBrowser = nullptr;
    // What the font dialog opens with: its first font, then the last one chosen in it.
    QFont m_lastFont;
};
