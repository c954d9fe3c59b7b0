#pragma once

#include <QObject>

class QComboBox;

namespace Velmora {

// Watches a path box (an editable combo box with a drop-down history). Enter in the box is taken
// here, before the combo box could act on it. An entry chosen from the drop-down list is reported
// only while the follow-the-list flag is set: it is set when the box receives the focus and by
// Enter, and cleared by any other key pressed in the box, so editing the text lists nothing until
// Enter. Keys that only open the list or are bare modifiers do not count as editing. The mouse
// wheel changes nothing in a box that does not have the focus.
class PathBoxFollower : public QObject {
    Q_OBJECT
public:
    explicit PathBoxFollower(QComboBox *box);

    bool isFollowing() const { return m_following; }

Q_SIGNALS:
    void enterPressed();
    void entryChosen(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *m_box;
    bool m_following = false;
};

} // namespace Velmora
