#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Velmora {

// Content of a window whose feature has not been built yet: a short note and a Close button.
inline void AddPlaceholderContent(QDialog &dialog, QVBoxLayout *layout)
{
    auto *note = new QLabel(QStringLiteral("This window is not available in this version yet."), &dialog);
    note->setObjectName(QStringLiteral("PlaceholderLabel"));
    note->setMinimumWidth(380);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *close = new QPushButton(QStringLiteral("Close"), &dialog);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    row->addWidget(close);
    layout->addLayout(row);
}

} // namespace Velmora
