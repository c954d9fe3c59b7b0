#pragma once

#include <QString>

namespace Velmora {

// Every message box, question and file or folder dialog goes through this interface. The
// program shows Qt dialogs; tests use a scripted fake that records each text exactly.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // Information box with OK.
    virtual void information(const QString &text) = 0;
    // Error box with OK.
    virtual void error(const QString &text) = 0;
    // Confirmation box with Yes and No; true for Yes.
    virtual bool confirm(const QString &text) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFile(const QString &title, const QString &startFolder, const QString &filter) = 0;
    virtual QString saveFile(const QString &title, const QString &startFolder, const QString &fileName,
                             const QString &defaultSuffix, const QString &filter) = 0;
    // Folder picker: an absolute folder ending with "/" or nothing.
    virtual QString chooseFolder(const QString &title, const QString &startFolder, bool allowCreate) = 0;
};

} // namespace Velmora
