#include "ViewEditDispatch.h"

#include "ExecutableRule.h"

#include "app/AppContext.h"
#include "app/Options.h"
#include "app/Platform.h"
#include "app/UserPrompts.h"
#include "queue/AsciiFileRule.h"

namespace Velmora {

ViewEditDispatch::ViewEditDispatch(const AppContext &context, BuiltInEditor &editor)
    : m_context(context)
    , m_editor(editor)
{
}

QString ViewEditDispatch::failureMessage() const
{
    return m_context.text(QStringLiteral("Unable to view/edit file."),
                          QStringLiteral("Anzeigen/Bearbeiten der Datei nicht möglich."));
}

ViewEditDispatch::Outcome ViewEditDispatch::openWithSystem(const QString &path)
{
    if (m_context.platform.openFile(path))
        return Outcome::SystemOpened;
    m_context.prompts.information(failureMessage());
    return Outcome::Failed;
}

ViewEditDispatch::Outcome ViewEditDispatch::OpenForViewEdit(const QString &path, bool refuseExecutables)
{
    const OptionsData &options = m_context.options.data();
    const bool executable = HasExecutableExtension(path);
    // The three choices are exclusive; the built-in editor is the default.
    if (!options.internalEditor && options.startWithSystemExtension) {
        if (refuseExecutables && executable)
            return Outcome::LeftAlone;
        return openWithSystem(path);
    }
    if (!options.internalEditor && options.externalEditor) {
        if (refuseExecutables && executable)
            return Outcome::LeftAlone;
        // The path is the one parameter, exactly as it is (not quoted), and no working folder.
        if (m_context.platform.startProgram(options.externalEditorExe, {path}))
            return Outcome::ExternalStarted;
        m_context.prompts.information(failureMessage());
        return Outcome::Failed;
    }
    if (IsAsciiFile(path)) {
        m_editor.setSaveAsEnabled(false);
        if (!m_editor.load(path))
            return Outcome::EditorLoadFailed;
        m_editor.showNonBlocking();
        return Outcome::EditorShown;
    }
    if (executable)
        return Outcome::LeftAlone;
    return openWithSystem(path);
}

} // namespace Velmora
