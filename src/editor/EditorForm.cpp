#include "EditorForm.h"

#include "DefinitionLexer.h"
#include "EditorFindForm.h"
#include "EditorText.h"
#include "app/UserPrompts.h"
#include "app/WindowFront.h"

#include <Qsci/qsciprinter.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace Velmora {

namespace {

QFont editorFont()
{
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

} // namespace

EditorForm::EditorForm(const AppContext &context, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                          | Qt::WindowCloseButtonHint)
    , m_context(context)
    , m_settings(EditorSettings::FolderFor(context.folders.appDataFolder))
    , m_text(new QsciScintilla(this))
{
    setObjectName(QStringLiteral("EditorForm"));
    setWindowTitle(QStringLiteral("Editor"));
    setSizeGripEnabled(false);
    m_text->setObjectName(QStringLiteral("TextEdit"));
    m_printerSetup = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    buildMenus();
    buildToolBar();
    buildStatusLine();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_toolBar);
    m_readOnlyLine = new QLabel(this);
    m_readOnlyLine->setObjectName(QStringLiteral("ReadOnlyLabel"));
    m_readOnlyLine->setWordWrap(true);
    m_readOnlyLine->setContentsMargins(6, 4, 6, 4);
    m_readOnlyLine->setStyleSheet(QStringLiteral("background: #fff3c4; color: black;"));
    m_readOnlyLine->hide();
    layout->addWidget(m_readOnlyLine);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_statusBar);

    configureText();
    setHighlighter(Highlighter::None);
    buildShortcuts();
    m_settings.load();
    applySettings();

    m_text->installEventFilter(this);
    m_loading.setInterval(0);
    connect(&m_loading, &QTimer::timeout, this, &EditorForm::loadNextPiece);
    connect(m_text, &QsciScintilla::textChanged, this, &EditorForm::updateStatus);
    connect(m_text, &QsciScintilla::cursorPositionChanged, this, &EditorForm::updateStatus);
    resize(900, 650);
    retranslate();
    connect(&m_context.language, &Language::languageChanged, this, &EditorForm::retranslate);
}

EditorForm::~EditorForm() = default;

QString EditorForm::text(const char16_t *english, const char16_t *german) const
{
    return QString::fromUtf16(isGerman() ? german : english);
}

bool EditorForm::isGerman() const
{
    return m_context.language.isGerman();
}

void EditorForm::retranslate()
{
    const QString ctrl = text(u"Ctrl+", u"Strg+");
    for (const Caption &caption : m_captions) {
        QString shown = text(caption.english, caption.german);
        if (auto *menu = qobject_cast<QMenu *>(caption.target)) {
            menu->setTitle(shown);
            continue;
        }
        auto *action = qobject_cast<QAction *>(caption.target);
        if (!action)
            continue;
        if (caption.toolTipOnly) {
            action->setText(shown);
            action->setToolTip(shown);
            continue;
        }
        if (!caption.key.isEmpty())
            shown += u'\t' + ctrl + caption.key;
        action->setText(shown);
    }
    // The search windows are made again, in the new language, when they are next opened.
    for (EditorFindForm **form : {&m_findForm, &m_replaceForm}) {
        if (*form && !(*form)->isVisible()) {
            (*form)->deleteLater();
            *form = nullptr;
        }
    }
    if (m_readOnlyLine)
        showReadOnlyReason();
    updateStatus();
}

void EditorForm::configureText()
{
    const QFont font = editorFont();
    m_text->setUtf8(true);
    m_text->setFont(font);
    m_text->setEolMode(QsciScintilla::EolWindows);
    m_text->setTabWidth(4);
    m_text->setIndentationsUseTabs(true);
    m_text->setAutoIndent(false);
    m_text->setTabIndents(false);
    m_text->setBackspaceUnindents(false);
    m_text->setFolding(QsciScintilla::NoFoldStyle);
    m_text->setEdgeMode(QsciScintilla::EdgeNone);
    m_text->setCaretLineVisible(false);
    m_text->setAutoCompletionSource(QsciScintilla::AcsNone);
    m_text->setBraceMatching(QsciScintilla::NoBraceMatch);
    m_text->setSelectionForegroundColor(Qt::white);
    m_text->setSelectionBackgroundColor(QColor::fromRgb(Colour::Navy));
    m_text->indicatorDefine(QsciScintilla::TextColorIndicator, DefinitionLexer::AddressTextIndicator);
    m_text->setIndicatorForegroundColor(QColor::fromRgb(Colour::Blue), DefinitionLexer::AddressTextIndicator);
    m_text->indicatorDefine(QsciScintilla::PlainIndicator, DefinitionLexer::AddressLineIndicator);
    m_text->setIndicatorForegroundColor(QColor::fromRgb(Colour::Blue), DefinitionLexer::AddressLineIndicator);
}

void EditorForm::setHighlighter(Highlighter highlighter)
{
    m_highlighter = highlighter;
    DefinitionLexer *&lexer = m_lexers[static_cast<int>(highlighter)];
    if (!lexer)
        lexer = new DefinitionLexer(highlighter, editorFont(), this);
    m_text->setLexer(lexer);
    // Setting a lexer resets the styles of the margins: the line numbers get their font again.
    m_text->setMarginType(0, QsciScintilla::NumberMargin);
    m_text->setMarginLineNumbers(0, true);
    m_text->setMarginsFont(editorFont());
    m_text->setMarginWidth(0, QStringLiteral("00000"));
    m_text->setMarginWidth(1, 0);
    m_text->setMarginWidth(2, 0);
}

QLabel *EditorForm::statusField(int index) const
{
    return index >= 0 && index < 3 ? m_statusFields[index] : nullptr;
}

bool EditorForm::isModified() const
{
    return m_text->isUndoAvailable();
}

void EditorForm::clearUndoHistory()
{
    m_text->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    m_text->setModified(false);
}

bool EditorForm::Load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_context.prompts.error(text(u"The file cannot be read: ", u"Die Datei kann nicht gelesen werden: ") + path);
        return false;
    }
    stopLoading();
    m_loaded = EditorText::Read(file.readAll());
    setHighlighter(HighlighterForFile(path));
    // Scintilla wraps every line while it takes a text with word wrap on, which makes opening a
    // large file take seconds; with wrap switched on afterwards it wraps in the background.
    // Nobody undoes the loading itself, so it is not recorded either. A large file goes in by
    // pieces from the event loop: the window answers at once and stays read-only until the
    // whole text is in.
    m_wrapAfterLoading = m_text->wrapMode() != QsciScintilla::WrapNone;
    setWordWrap(false);
    m_text->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    m_shown = EditorText::ShownUtf8(m_loaded);
    m_shownAt = EditorText::PieceEnd(m_shown, 0, FirstPieceBytes);
    // By length, not as a C string: a NUL byte must not end the text.
    m_text->setReadOnly(false);
    m_text->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    m_text->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(m_shownAt), m_shown.constData());
    m_text->setCursorPosition(0, 0);
    showReadOnlyReason();
    if (m_shownAt < EditorText::ShownSize(m_shown)) {
        m_text->setReadOnly(true);
        m_loading.start();
    } else {
        endLoading();
    }
    m_path = path;
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" - Editor"));
    updateStatus();
    return true;
}

void EditorForm::loadNextPiece()
{
    const qsizetype end = EditorText::PieceEnd(m_shown, m_shownAt, PieceBytes);
    // A read-only document takes no text, not even from the program itself.
    m_text->setReadOnly(false);
    m_text->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(end - m_shownAt),
                          m_shown.constData() + m_shownAt);
    m_text->setReadOnly(true);
    m_shownAt = end;
    if (m_shownAt >= EditorText::ShownSize(m_shown))
        endLoading();
}

void EditorForm::finishLoading()
{
    while (m_loading.isActive())
        loadNextPiece();
}

void EditorForm::endLoading()
{
    m_loading.stop();
    m_shown.clear();
    m_shownAt = 0;
    m_text->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
    clearUndoHistory();
    m_text->setReadOnly(!m_loaded.canBeSaved());
    setWordWrap(m_wrapAfterLoading);
    updateStatus();
}

void EditorForm::stopLoading()
{
    if (m_loading.isActive())
        endLoading();
}

void EditorForm::fillScreen()
{
    // Maximised is a wish the window manager fulfils; without one the window covers the
    // screen's free area all the same.
    if (QScreen *screen = this->screen())
        setGeometry(screen->availableGeometry());
}

void EditorForm::showNonBlocking()
{
    if (isVisible() && !isModal()) {
        showMaximized();
        WindowFront::raise(*this);
        activateWindow();
        return;
    }
    fillScreen();
    showMaximized();
}

int EditorForm::execModal()
{
    // A window shown beside the main window cannot turn modal while visible: it is hidden and
    // shown again modally, keeping the text that the caller has just loaded.
    if (isVisible())
        hide();
    fillScreen();
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

void EditorForm::setSaveAsEnabled(bool enabled)
{
    m_saveAsEnabled = enabled;
    m_saveAsAction->setEnabled(enabled);
}

bool EditorForm::askSaveChanges()
{
    if (!isModified())
        return true;
    switch (m_context.prompts.askYesNoAbort(text(u"Save changes?", u"Änderungen speichern?") + u'\n' + m_path)) {
    case UserPrompts::Answer::Yes:
        return save();
    case UserPrompts::Answer::No:
        return true;
    case UserPrompts::Answer::Abort:
        break;
    }
    return false;
}

void EditorForm::newFileAsking()
{
    if (askSaveChanges())
        newFileWithoutAsking();
}

void EditorForm::newFileWithoutAsking()
{
    // The file path stays, so a later Save writes to the file opened before.
    stopLoading();
    m_text->setReadOnly(false);
    m_text->clear();
}

void EditorForm::openFile()
{
    if (!askSaveChanges())
        return;
    const QString path = m_context.prompts.openFile(text(u"Open", u"Öffnen"), m_path,
                                                    text(u"All files (*)", u"Alle Dateien (*)"));
    if (!path.isEmpty())
        Load(path);
}

bool EditorForm::writeTo(const QString &path)
{
    if (!m_loaded.canBeSaved()) {
        // Shown read-only: its bytes would not survive being written as lines.
        m_context.prompts.information(readOnlyReason() + u' '
                                      + text(u"Nothing was saved.", u"Es wurde nichts gespeichert."));
        return false;
    }
    finishLoading();
    const QString shown = m_text->text();
    // A character the file's encoding lacks is never written half-converted: the whole file goes
    // to UTF-8 when the user agrees, otherwise nothing is written.
    const QString unfit = EditorText::Unfit(shown, m_loaded);
    if (!unfit.isEmpty()
        && !m_context.prompts.confirm(
            text(u"The file is written in Windows-1252, which cannot hold these characters: ",
                 u"Die Datei ist in Windows-1252 geschrieben, das diese Zeichen nicht enthält: ")
            + unfit + u'\n'
            + text(u"Save the whole file as UTF-8? (No goes back to the text; nothing is saved.)",
                   u"Die ganze Datei als UTF-8 speichern? (Nein kehrt zum Text zurück; nichts wird gespeichert.)")))
        return false;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        EditorText::Loaded written = m_loaded;
        file.write(EditorText::Encode(shown, written));
        ok = file.commit();
        if (ok)
            m_loaded = std::move(written);
    }
    QGuiApplication::restoreOverrideCursor();
    if (!ok)
        m_context.prompts.error(text(u"The file cannot be written: ", u"Die Datei kann nicht geschrieben werden: ") + path);
    else if (!unfit.isEmpty())
        showWrittenText(); // UTF-8 lines of a mixed file now show as what they are
    return ok;
}

void EditorForm::showWrittenText()
{
    int line = 0;
    int column = 0;
    m_text->getCursorPosition(&line, &column);
    const QByteArray shown = EditorText::ShownUtf8(m_loaded);
    m_text->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    m_text->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    m_text->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(EditorText::ShownSize(shown)),
                          shown.constData());
    m_text->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
    m_text->setCursorPosition(line, column);
}

QString EditorForm::readOnlyReason() const
{
    switch (m_loaded.shape) {
    case ByteShape::Kind::NulBytes:
        return text(u"This file holds NUL bytes (a binary file): the editor shows it read-only, because saving it as text would change it.",
                    u"Diese Datei enthält NUL-Bytes (eine Binärdatei): der Editor zeigt sie schreibgeschützt, weil Speichern als Text sie verändern würde.");
    case ByteShape::Kind::WideText:
        return text(u"This file is UTF-16 or UTF-32 text: the editor shows it read-only, because saving it would change its bytes.",
                    u"Diese Datei ist UTF-16- oder UTF-32-Text: der Editor zeigt sie schreibgeschützt, weil Speichern ihre Bytes ändern würde.");
    case ByteShape::Kind::EightBitText:
        break;
    }
    return {};
}

void EditorForm::showReadOnlyReason()
{
    m_readOnlyLine->setText(readOnlyReason());
    m_readOnlyLine->setVisible(!m_loaded.canBeSaved());
}

void EditorForm::afterSave(const QString &path)
{
    m_savedReport = true;
    // Saving ends the undo history: the text is no longer modified.
    clearUndoHistory();
    updateStatus();
    Q_EMIT fileSaved(path);
}

bool EditorForm::save()
{
    if (m_path.isEmpty())
        return saveAs(); // an editor never loaded has no file to save to: the name is asked for
    if (!writeTo(m_path))
        return false;
    afterSave(m_path);
    return true;
}

bool EditorForm::saveAs()
{
    if (!m_saveAsEnabled && !m_path.isEmpty())
        return false;
    const QFileInfo info(m_path);
    const QString path = m_context.prompts.saveFile(text(u"Save as", u"Speichern unter"),
                                                    m_path.isEmpty() ? QString() : info.absolutePath(),
                                                    m_path.isEmpty() ? QString() : info.fileName(), QString(),
                                                    text(u"All files (*)", u"Alle Dateien (*)"));
    if (path.isEmpty() || !writeTo(path))
        return false;
    m_path = path;
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" - Editor"));
    setHighlighter(HighlighterForFile(path));
    afterSave(path);
    return true;
}

void EditorForm::print()
{
    QsciPrinter printer;
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!m_printerSetup(printer))
        return;
    finishLoading();
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    // The whole text, without line numbers and without page numbers (the printer draws no
    // header or footer).
    const int numbers = m_text->marginWidth(0);
    m_text->setMarginWidth(0, 0);
    printer.printRange(m_text);
    m_text->setMarginWidth(0, numbers);
}

void EditorForm::showFind()
{
    showSearchForm(m_findForm, false);
}

void EditorForm::showReplace()
{
    showSearchForm(m_replaceForm, true);
}

void EditorForm::showSearchForm(EditorFindForm *&form, bool replaceMode)
{
    finishLoading();
    if (!form)
        form = new EditorFindForm(*m_text, m_context.prompts, isGerman(), replaceMode, this);
    // A selection within one line is what the user most likely wants to find.
    if (m_text->hasSelectedText() && !m_text->selectedText().contains(u'\n'))
        form->searchEdit()->setText(m_text->selectedText());
    form->show();
    WindowFront::raise(*form);
    form->activateWindow();
}

void EditorForm::setWordWrap(bool on)
{
    m_text->setWrapMode(on ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
    // The component keeps a layout of every line of the document while wrapping, and every
    // change then walks all of them: a file of many megabytes stalls for seconds. Layouts of the
    // lines on screen are enough.
    m_text->SendScintilla(QsciScintillaBase::SCI_SETLAYOUTCACHE, QsciScintillaBase::SC_CACHE_PAGE);
}

void EditorForm::applySettings()
{
    m_wordWrapAction->setChecked(m_settings.wordWrap);
    if (m_loading.isActive())
        m_wrapAfterLoading = m_settings.wordWrap; // switched on once the whole text is in
    else
        setWordWrap(m_settings.wordWrap);
    m_statusLineAction->setChecked(m_settings.statusBar);
    m_statusBar->setVisible(m_settings.statusBar);
}

void EditorForm::writeSettings()
{
    m_settings.save();
}

void EditorForm::toggleWordWrap()
{
    m_settings.wordWrap = !m_settings.wordWrap;
    applySettings();
    writeSettings();
}

void EditorForm::toggleStatusLine()
{
    m_settings.statusBar = !m_settings.statusBar;
    applySettings();
    writeSettings();
}

void EditorForm::updateStatus()
{
    // Counted once the whole text is in: counting after every piece would read the text again
    // and again. The count reads the component's own buffer without copying it, so typing in a
    // large file stays quick.
    if (!m_loading.isActive()) {
        const long length = m_text->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        const auto *buffer = reinterpret_cast<const char *>(m_text->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
        const QByteArrayView all = buffer ? QByteArrayView(buffer, length) : QByteArrayView();
        m_statusFields[0]->setText(EditorText::CountsText(EditorText::Count(all), isGerman()));
    }
    int line = 0;
    int column = 0;
    m_text->getCursorPosition(&line, &column);
    m_statusFields[1]->setText(EditorText::CaretText(line, column, isGerman()));
    m_statusFields[2]->setText(u' ' + m_path);
}

void EditorForm::reject()
{
    // Closing (frame, Escape, Exit) asks about unsaved changes first; Abort keeps the window.
    if (!askSaveChanges())
        return;
    writeSettings();
    if (m_findForm)
        m_findForm->hide();
    if (m_replaceForm)
        m_replaceForm->hide();
    QDialog::reject();
    stopLoading();
    // The window is kept for the next file, the document is not: Scintilla wraps and colours
    // a loaded document in the background, which would keep a CPU busy after the window has
    // gone. Every opening loads its file anew. A read-only document takes no change at all.
    m_text->setReadOnly(false);
    m_text->clear();
    m_text->setModified(false);
    clearUndoHistory();
    // The file's bytes go too (a file of many megabytes is held here as read or last saved).
    m_loaded = EditorText::Loaded();
    m_loaded.utf8 = true;
}

void EditorForm::showEvent(QShowEvent *event)
{
    m_savedReport = false;
    QDialog::showEvent(event);
    m_text->setFocus();
}

bool EditorForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && (event->type() == QEvent::FocusIn || event->type() == QEvent::KeyPress))
        updateStatus();
    return QDialog::eventFilter(watched, event);
}

} // namespace Velmora
