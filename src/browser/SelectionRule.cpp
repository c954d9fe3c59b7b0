#include "SelectionRule.h"

#include "common/Language.h"

#include <algorithm>

namespace Velmora {

bool IsSelectionRuleMet(SelectionRule rule, const QList<SelectedRow> &selected, const SelectedRow *focused)
{
    const auto any = [&selected](auto predicate) { return std::any_of(selected.begin(), selected.end(), predicate); };
    switch (rule) {
    case SelectionRule::AFile:
        if (selected.isEmpty())
            return false;
        return (focused ? focused->kind : selected.front().kind) != EntryKind::Folder;
    case SelectionRule::AFileOrDirectory:
        return any([](const SelectedRow &r) { return r.name != u".."; });
    case SelectionRule::MinimumOneFile:
        return any([](const SelectedRow &r) { return r.kind == EntryKind::File; });
    case SelectionRule::MinimumOneDirectory:
        return any([](const SelectedRow &r) { return r.kind == EntryKind::Folder && r.name != u".."; });
    }
    return false;
}

QString SelectionRuleMessage(SelectionRule rule, const Language *language)
{
    const auto t = [language](const char16_t *english, const char16_t *german) {
        return language ? language->text(QString::fromUtf16(english), QString::fromUtf16(german)) : QString::fromUtf16(english);
    };
    switch (rule) {
    case SelectionRule::AFile:
        return t(u"Select first a file.", u"Bitte zuerst eine Datei auswählen.");
    case SelectionRule::AFileOrDirectory:
        return t(u"Select first a file or a directory.", u"Bitte zuerst eine Datei oder einen Ordner auswählen.");
    case SelectionRule::MinimumOneFile:
        return t(u"Please select minimum one file!", u"Bitte wählen Sie minimal eine Datei aus!");
    case SelectionRule::MinimumOneDirectory:
        return t(u"Please select minimum one directory!", u"Bitte wählen Sie minimal einen Ordner aus!");
    }
    return {};
}

} // namespace Velmora
