#pragma once

#include "AppContext.h"

#include <QDialog>

class QPushButton;
class QVBoxLayout;

namespace Velmora {

class DialogHeader;

// Base of every dialog: a tool window above the main window, captioned like the main window,
// centred on the screen, with the design's header picture and its title. Enter acts as OK and
// Escape as Abort. Texts are set in retranslate(), which runs again on every language switch.
class ToolDialog : public QDialog {
    Q_OBJECT
public:
    ToolDialog(const AppContext &context, QWidget *parent, QString englishTitle, QString germanTitle);

    QString headerTitle() const;
    DialogHeader *header() const { return m_header; }

protected:
    void showEvent(QShowEvent *event) override;
    virtual void retranslate() {}

    QVBoxLayout *contentLayout() const { return m_content; }
    struct OkAbortButtons {
        QPushButton *ok;
        QPushButton *abort;
    };
    // The right-aligned "OKButton" (the default) and "AbortButton" row at the end of the content,
    // accepting and rejecting the dialog; their texts are set in retranslate().
    OkAbortButtons addOkAbortButtons();
    const AppContext &context() const { return m_context; }
    QString text(const QString &english, const QString &german) const;

private:
    void refreshHeader();

    const AppContext &m_context;
    QString m_englishTitle;
    QString m_germanTitle;
    DialogHeader *m_header;
    QVBoxLayout *m_content;
};

} // namespace Velmora
