// The two colour sets, light and dark: every text colour readable on its background, computed,
// and the preview and the category dialog taking the set of the desktop's palette as it changes.

#include "document/ui/PreviewEditor.h"
#include "editing/ui/SelEdit.h"
#include "prefs/ui/Options.h"
#include "widgets/ui/About1.h"
#include "widgets/ui/Emaillabel.h"
#include "widgets/ui/ThemeColors.h"
#include "widgets/ui/UrlLabel.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include <Qsci/qscilexerxml.h>

#include <memory>

using namespace vorrel;

namespace {

// A dark desktop: light text on a #3D3D3D base.
QPalette darkPalette()
{
    QPalette p(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Base, QColor(0x3D, 0x3D, 0x3D));
    for (const QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        p.setColor(role, QColor(0xEE, 0xEE, 0xEE));
    return p;
}

QColor styleColor(const PreviewEditor &editor, unsigned int message, int style)
{
    // The engine gives 0x00BBGGRR.
    const long v = editor.SendScintilla(message, static_cast<unsigned long>(style));
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

} // namespace

class TestThemeColors final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contrast();
    void followsPalette_data();
    void followsPalette();

private:
    std::unique_ptr<PreviewEditor> m_preview;
    std::unique_ptr<TfrmSelEdit> m_dialog;
    std::unique_ptr<TfrmOptions> m_options;
    std::unique_ptr<TAboutBox> m_about;
};

void TestThemeColors::initTestCase()
{
    QApplication::setPalette(QApplication::style()->standardPalette());
    m_preview = std::make_unique<PreviewEditor>();
    m_dialog = std::make_unique<TfrmSelEdit>();
    m_options = std::make_unique<TfrmOptions>();
    m_about = std::make_unique<TAboutBox>();
}

void TestThemeColors::contrast()
{
    // The two ends of the scale, and the old tag colour on the dark base it was unreadable on.
    QCOMPARE(contrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(contrastRatio(Qt::gray, Qt::gray), 1.0);
    QVERIFY(contrastRatio(QColor(0x00, 0x00, 0x80), QColor(0x3D, 0x3D, 0x3D)) < 1.6);
}

void TestThemeColors::followsPalette_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<Theme>("theme");
    const QPalette light = QApplication::style()->standardPalette();
    QTest::newRow("dark") << darkPalette() << Theme::Dark;
    QTest::newRow("light again") << light << Theme::Light;
}

void TestThemeColors::followsPalette()
{
    QFETCH(QPalette, palette);
    QFETCH(Theme, theme);
    QApplication::setPalette(palette);
    // Windows hear of the new palette through the event loop.
    QCoreApplication::processEvents();
    QCOMPARE(themeOf(palette), theme);

    const PreviewColors &set = previewColors(theme);
    for (const QColor &ink : { set.text, set.tag, set.attribute, set.value, set.comment, set.entity, set.declaration,
             set.cdata, set.error, set.caret })
        QVERIFY2(contrastRatio(ink, set.paper) >= kLeastContrast, qPrintable(ink.name()));
    QVERIFY(contrastRatio(set.lineNumber, set.margin) >= kLeastContrast);

    // What the preview draws with, every style of the XML lexer, after the change.
    // Disabled and enabled again, as it is while no document is open.
    m_preview->setEnabled(false);
    m_preview->setEnabled(true);
    const PreviewEditor &preview = *m_preview;
    QCOMPARE(styleColor(preview, QsciScintillaBase::SCI_STYLEGETBACK, QsciScintillaBase::STYLE_DEFAULT), set.paper);
    for (int style = 0; style <= QsciLexerXML::SGMLBlockDefault; ++style) {
        const QColor fore = styleColor(preview, QsciScintillaBase::SCI_STYLEGETFORE, style);
        const QColor back = styleColor(preview, QsciScintillaBase::SCI_STYLEGETBACK, style);
        QVERIFY2(contrastRatio(fore, back) >= kLeastContrast, qPrintable(QString::number(style)));
    }

    // The dialog's tags on its window; the blue captions of its AutoText button, of the Options
    // dialog's buttons and of the About window's links, which stay pure blue when light.
    for (const QLabel *label : QList<const QLabel *> { m_dialog->Label1, m_dialog->Label2, m_dialog->Label3,
             m_dialog->Label4, m_dialog->Label5, m_dialog->Label6, m_dialog->Label7, m_dialog->Label8,
             m_about->UrlLabel1, m_about->Emaillabel1 })
        QVERIFY2(contrastRatio(
                     label->palette().color(QPalette::WindowText), label->window()->palette().color(QPalette::Window))
                >= kLeastContrast,
            qPrintable(label->objectName()));
    for (const QAbstractButton *button :
        QList<const QAbstractButton *> { m_dialog->cmdAutotext, m_options->cmdChange, m_options->cmdBrowse }) {
        const QColor ink = button->palette().color(QPalette::ButtonText);
        QVERIFY(contrastRatio(ink, button->window()->palette().color(QPalette::Button)) >= kLeastContrast);
        QCOMPARE(ink == QColor(0, 0, 255), theme == Theme::Light);
    }
    QCOMPARE(m_about->UrlLabel1->palette().color(QPalette::WindowText) == QColor(0, 0, 255), theme == Theme::Light);
}

QTEST_MAIN(TestThemeColors)
#include "tst_themecolors.moc"
