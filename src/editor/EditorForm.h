#pragma once

#include "EditorSettings.h"
#include "EditorText.h"
#include "Highlighter.h"
#include "app/AppContext.h"

#include <QDialog>
#include <QTimer>
#include <QHash>

#include <functional>

class QAction;
class QLabel;
class QMenuBar;
class QPrinter;
class QStatusBar;
class QToolBar;
class QsciScintilla;

namespace Velmora {

class DefinitionLexer;
class EditorFindForm;

// The built-in text editor: one text file at a time, coloured by its extension, with a menu
// bar, a tool bar and a status line. Its texts follow the system's language, not the
// program's. Created once at start and reused for every file.
//
// A dialog rather than a main window, because the search window shows it modally (exec) and
// View/Edit shows it beside the main window; unlike the tool dialogs it is a normal resizable
// window without the header picture, opened maximised.
class EditorForm : public QDialog {
    Q_OBJECT
public:
    // Asks for the printer; true to print. The program shows the printer set-up dialog.
    using PrinterSetup = std::function<bool(QPrinter &printer)>;

    EditorForm(const AppContext &context, QWidget *parent);
    ~EditorForm() override;

    // Replaces the text by the file's lines without asking about unsaved changes. A file that
    // cannot be read leaves everything as it was and shows an error.
    bool Load(const QString &path);
    // Shows the editor beside the main window; maximises it when it is already visible.
    void showNonBlocking();
    // Shows the editor modally; an editor already open beside the main window becomes modal.
    int execModal();

    void setSaveAsEnabled(bool enabled);
    bool saveAsEnabled() const { return m_saveAsEnabled; }
    // Set by Save, cleared when the window is shown.
    bool savedReport() const { return m_savedReport; }
    void resetSavedReport() { m_savedReport = false; }

    QString filePath() const { return m_path; }
    Highlighter highlighter() const { return m_highlighter; }
    // True while the undo history is not empty.
    bool isModified() const;
    // The editor speaks the program's language and follows it when it changes.
    bool isGerman() const;
    // A large file is still going into the window (which is read-only until it is in).
    bool isLoading() const { return m_loading.isActive(); }
    const EditorSettings &settings() const { return m_settings; }
    void setPrinterSetup(PrinterSetup setup) { m_printerSetup = std::move(setup); }

    // The parts tests and callers look at.
    QsciScintilla *textEdit() const { return m_text; }
    QMenuBar *menuBar() const { return m_menuBar; }
    QToolBar *toolBar() const { return m_toolBar; }
    QStatusBar *statusLine() const { return m_statusBar; }
    QLabel *statusField(int index) const;
    QLabel *readOnlyLine() const { return m_readOnlyLine; }
    EditorFindForm *findForm() const { return m_findForm; }
    EditorFindForm *replaceForm() const { return m_replaceForm; }

    // The commands of the menus, tool bar and keys.
    bool askSaveChanges();      // true: go on (saved, or not to be saved)
    void newFileAsking();       // tool bar and Ctrl+N
    void newFileWithoutAsking(); // the menu item
    void openFile();
    bool save();
    bool saveAs();
    void print();
    void showFind();
    void showReplace();
    void toggleWordWrap();
    void toggleStatusLine();

Q_SIGNALS:
    void fileSaved(const QString &path);

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString text(const char16_t *english, const char16_t *german) const;
    void retranslate();
    void buildMenus();
    void buildToolBar();
    void buildStatusLine();
    void buildShortcuts();
    void configureText();
    void setHighlighter(Highlighter highlighter);
    void showSearchForm(EditorFindForm *&form, bool replaceMode);
    void fillScreen();
    void applySettings();
    void setWordWrap(bool on);
    // A large file goes into the component in pieces from the event loop.
    void loadNextPiece();
    void finishLoading(); // the rest at once: before the whole text is read
    void endLoading();
    void stopLoading();   // a loading that is still going on ends where it is
    void writeSettings();
    void updateStatus();
    bool writeTo(const QString &path);
    void showWrittenText();
    // Why the file is shown read-only (empty when it is not), and the line above the text that says so.
    QString readOnlyReason() const;
    void showReadOnlyReason();
    void afterSave(const QString &path);
    void clearUndoHistory();

    const AppContext &m_context;
    // A menu, menu item or tool bar button with its texts: menu items show their key after a
    // tab, tool bar buttons show the text as their tip.
    struct Caption {
        QObject *target = nullptr;
        const char16_t *english = nullptr;
        const char16_t *german = nullptr;
        QString key;
        bool toolTipOnly = false;
    };
    QList<Caption> m_captions;
    EditorSettings m_settings;
    QsciScintilla *m_text;
    QMenuBar *m_menuBar = nullptr;
    QToolBar *m_toolBar = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_readOnlyLine = nullptr;
    QLabel *m_statusFields[3] = {};
    QAction *m_saveAsAction = nullptr;
    QAction *m_wordWrapAction = nullptr;
    QAction *m_statusLineAction = nullptr;
    EditorFindForm *m_findForm = nullptr;
    EditorFindForm *m_replaceForm = nullptr;
    QHash<int, DefinitionLexer *> m_lexers;
    PrinterSetup m_printerSetup;
    QString m_path;
    Highlighter m_highlighter = Highlighter::None;
    // The file as read or last saved; a text typed into an empty editor is written as UTF-8.
    EditorText::Loaded m_loaded = [] {
        EditorText::Loaded empty;
        empty.utf8 = true;
        return empty;
    }();
    bool m_saveAsEnabled = true;
    static constexpr qsizetype FirstPieceBytes = 1024 * 1024;
    static constexpr qsizetype PieceBytes = 2 * 1024 * 1024;
    QTimer m_loading;
    QByteArray m_shown;     // the text still being loaded, in UTF-8
    qsizetype m_shownAt = 0; // what of it is in the component
    bool m_wrapAfterLoading = false;
    bool m_savedReport = false;
};

} // namespace Velmora
