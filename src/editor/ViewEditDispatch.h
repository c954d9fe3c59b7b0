#pragma once

#include <QString>

namespace Velmora {

struct AppContext;

// The built-in editor as View/Edit uses it (the editor window implements it in the program, a
// recorder in tests).
class BuiltInEditor {
public:
    virtual ~BuiltInEditor() = default;
    // Replaces the text by the file without asking about unsaved changes; false when it cannot
    // be read (the editor says so itself).
    virtual bool load(const QString &path) = 0;
    virtual void setSaveAsEnabled(bool enabled) = 0;
    // Shows the editor without blocking the main window; maximises it when already visible.
    virtual void showNonBlocking() = 0;
};

// OpenForViewEdit: opens a file with the program the options choose: the built-in editor (text
// files; any other file goes to the system's open action, executables to nothing), the system's
// open action, or the external editor with the path as its one parameter.
class ViewEditDispatch {
public:
    enum class Outcome {
        EditorShown,     // the built-in editor shows the file
        EditorLoadFailed,
        SystemOpened,    // the system's open action started
        ExternalStarted, // the external editor started
        LeftAlone,       // an executable that is not to be opened
        Failed,          // "Unable to view/edit file." was shown
    };

    ViewEditDispatch(const AppContext &context, BuiltInEditor &editor);

    // refuseExecutables: an executable is left alone in every branch (server files), not only in
    // the built-in editor's (local files).
    Outcome OpenForViewEdit(const QString &path, bool refuseExecutables);

    QString failureMessage() const;

private:
    Outcome openWithSystem(const QString &path);

    const AppContext &m_context;
    BuiltInEditor &m_editor;
};

} // namespace Velmora
