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

QAction *newAction(QObject *parent, const QString &caption, const char *objectName)
{
    auto *action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(objectName));
    return action;
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

void EditorForm::buildMenus()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("EditorMenuBar"));
    // The caption shows the label, a tab and the key; the keys themselves are bound to the text
    // (buildShortcuts), and Ctrl+X, C, V, Z and Y are the text component's own.
    auto item = [this](QMenu *menu, const char16_t *english, const char16_t *german, const QString &key,
                       const char *name, auto slot) {
        QAction *action = newAction(menu, QString(), name);
        m_captions.append({action, english, german, key});
        menu->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    auto menu = [this](const char16_t *english, const char16_t *german) {
        QMenu *added = m_menuBar->addMenu(QString());
        m_captions.append({added, english, german, QString()});
        return added;
    };

    QMenu *file = menu(u"File", u"Datei");
    file->setObjectName(QStringLiteral("FileMenu"));
    item(file, u"New", u"Neu", QStringLiteral("N"), "New1", [this] { newFileWithoutAsking(); });
    item(file, u"Open", u"Öffnen", QStringLiteral("O"), "Open1", [this] { openFile(); });
    item(file, u"Save", u"Speichern", QStringLiteral("S"), "Save1", [this] { save(); });
    m_saveAsAction = item(file, u"Save as...", u"Speichern unter...", QStringLiteral("Alt+S"), "SaveAs1", [this] { saveAs(); });
    item(file, u"Print", u"Drucken", QStringLiteral("P"), "Print1", [this] { print(); });
    file->addSeparator();
    item(file, u"Exit", u"Beenden", QString(), "Exit1", [this] { close(); });

    QMenu *edit = menu(u"Edit", u"Bearbeiten");
    edit->setObjectName(QStringLiteral("EditMenu"));
    item(edit, u"Cut", u"Ausschneiden", QStringLiteral("X"), "Cut1", [this] { m_text->cut(); });
    item(edit, u"Copy", u"Kopieren", QStringLiteral("C"), "Copy1", [this] { m_text->copy(); });
    item(edit, u"Paste", u"Einfügen", QStringLiteral("V"), "Paste1", [this] { m_text->paste(); });
    edit->addSeparator();
    item(edit, u"Search", u"Suchen", QStringLiteral("F"), "Search1", [this] { showFind(); });
    item(edit, u"Search and  Replace", u"Suchen und  Ersetzen", QStringLiteral("H"), "SearchAndReplace1",
         [this] { showReplace(); });
    edit->addSeparator();
    item(edit, u"Undo", u"Rückgängig", QStringLiteral("Z"), "Undo1", [this] { m_text->undo(); });
    item(edit, u"Redo", u"Wiederholen", QStringLiteral("Y"), "Redo1", [this] { m_text->redo(); });

    QMenu *format = menu(u"Format", u"Format");
    format->setObjectName(QStringLiteral("FormatMenu"));
    m_wordWrapAction = item(format, u"Wordwrap", u"Zeilenumbruch", QStringLiteral("W"), "Wordwrap1",
                            [this] { toggleWordWrap(); });
    m_wordWrapAction->setCheckable(true);

    QMenu *view = menu(u"View", u"Ansicht");
    view->setObjectName(QStringLiteral("ViewMenu"));
    m_statusLineAction = item(view, u"Status line", u"Status Zeile", QString(), "Statusline1",
                              [this] { toggleStatusLine(); });
    m_statusLineAction->setCheckable(true);
}

void EditorForm::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("EditorToolBar"));
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto button = [this](const char16_t *english, const char16_t *german, const char *theme,
                         QStyle::StandardPixmap fallback, const char *name, auto slot) {
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(theme));
        if (icon.isNull() && fallback != QStyle::SP_CustomBase)
            icon = style()->standardIcon(fallback);
        QAction *action = m_toolBar->addAction(icon, QString());
        m_captions.append({action, english, german, QString(), true});
        connect(action, &QAction::triggered, this, slot);
        m_toolBar->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
    };
    const auto none = QStyle::SP_CustomBase;
    button(u"New file", u"Neue Datei", "document-new", QStyle::SP_FileIcon, "spbNew", [this] { newFileAsking(); });
    button(u"Open file", u"Datei öffnen", "document-open", QStyle::SP_DialogOpenButton, "spbOpen", [this] { openFile(); });
    button(u"Save file", u"Datei speichern", "document-save", QStyle::SP_DialogSaveButton, "spbSave", [this] { save(); });
    button(u"Print", u"Drucken", "document-print", none, "SpeedButton3", [this] { print(); });
    m_toolBar->addSeparator();
    button(u"Cut", u"Ausschneiden", "edit-cut", none, "spbCut", [this] { m_text->cut(); });
    button(u"Copy", u"Kopieren", "edit-copy", none, "spbCopy", [this] { m_text->copy(); });
    button(u"Paste", u"Einfügen", "edit-paste", none, "spbPaste", [this] { m_text->paste(); });
    m_toolBar->addSeparator();
    button(u"Search", u"Suchen", "edit-find", none, "SpeedButton1", [this] { showFind(); });
    button(u"Search and replace", u"Suchen und Ersetzen", "edit-find-replace", none, "SpeedButton2",
           [this] { showReplace(); });
    m_toolBar->addSeparator();
    button(u"Undo", u"Rückgängig", "edit-undo", QStyle::SP_ArrowBack, "spbUndo", [this] { m_text->undo(); });
    button(u"Redo", u"Wiederholen", "edit-redo", QStyle::SP_ArrowForward, "spbRedo", [this] { m_text->redo(); });
}

void EditorForm::buildStatusLine()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_statusBar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        m_statusFields[i] = new QLabel(m_statusBar);
        m_statusFields[i]->setObjectName(QStringLiteral("StatusField%1").arg(i + 1));
        if (i < 2)
            m_statusFields[i]->setMinimumWidth(150);
        m_statusBar->addWidget(m_statusFields[i], i < 2 ? 0 : 1);
    }
}

void EditorForm::buildShortcuts()
{
    // The keys act while the text has the focus.
    auto key = [this](const QKeySequence &sequence, auto slot) {
        auto *shortcut = new QShortcut(sequence, m_text, slot, Qt::WidgetShortcut);
        Q_UNUSED(shortcut);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newFileAsking(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openFile(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    key(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), [this] {
        if (m_saveAsEnabled)
            saveAs();
    });
    key(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { showFind(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { showReplace(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_W), [this] { toggleWordWrap(); });
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
    m_text->SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, m_shown.left(m_shownAt).constData());
    m_text->setCursorPosition(0, 0);
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
    m_text->setReadOnly(false);
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
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    finishLoading();
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        EditorText::Loaded written = m_loaded;
        file.write(EditorText::Encode(m_text->text(), written));
        ok = file.commit();
        if (ok)
            m_loaded = std::move(written);
    }
    QGuiApplication::restoreOverrideCursor();
    if (!ok)
        m_context.prompts.error(text(u"The file cannot be written: ", u"Die Datei kann nicht geschrieben werden: ") + path);
    return ok;
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
    // gone. Every opening loads its file anew.
    m_text->clear();
    m_text->setModified(false);
    clearUndoHistory();
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
