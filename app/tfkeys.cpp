#include "app/tfkeys.h"

#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/key_bindings_qt.h"
#include "core/messages.h"
#include "ui/apply_language_qt.h"
#include "ui/text_grid.h"

namespace corvane {

namespace {

constexpr int kTitleMessage = 300;
constexpr int kKeyHeaderMessage = 301;
constexpr int kActionHeaderMessage = 302;
constexpr int kCloseMessage = 3;

// One line a key as the coach reads it: ways of typing the same key that read alike (a plain and
// a shifted "+") are one line.
// The main window's keys, then those the search code takes, then the full-screen ones.
std::vector<std::pair<QString, QString>> keyLines(const Messages& messages) {
    std::vector<std::pair<QString, QString>> lines;
    const auto add = [&](QString key, const KeyBinding& binding) {
        std::pair line{std::move(key), messageToQt(messages.MessageText(binding.actionMessage))};
        if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(std::move(line));
    };
    for (const KeyBinding& binding : mainWindowKeys()) add(keyName(binding.keys, messages), binding);
    for (const KeyBinding& binding : searchCodeKeys()) add(keyName(binding.keys, messages), binding);
    for (const KeyBinding& binding : fullScreenKeys()) add(fullScreenKeyName(binding.keys, messages), binding);
    return lines;
}

}  // namespace

TFKeys::TFKeys(const Messages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FKeys"));
    setWindowTitle(messageToQt(messages.MessageText(kTitleMessage)));

    const auto lines = keyLines(messages);
    GrdKeys = new TextGrid(static_cast<int>(lines.size()), 2, this);
    GrdKeys->setObjectName(QStringLiteral("GrdKeys"));
    GrdKeys->setHorizontalHeaderLabels({messageToQt(messages.MessageText(kKeyHeaderMessage)),
                                        messageToQt(messages.MessageText(kActionHeaderMessage))});
    GrdKeys->horizontalHeader()->show();
    GrdKeys->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    GrdKeys->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdKeys->setSelectionMode(QAbstractItemView::NoSelection);
    GrdKeys->setFocusPolicy(Qt::NoFocus);
    for (std::size_t line = 0; line < lines.size(); ++line) {
        GrdKeys->setCellText(0, static_cast<int>(line), lines[line].first);
        GrdKeys->setCellText(1, static_cast<int>(line), lines[line].second);
    }
    GrdKeys->resizeColumnsToContents();
    GrdKeys->resizeRowsToContents();
    GrdKeys->horizontalHeader()->setStretchLastSection(true);

    QString close = messageToQt(messages.MessageText(kCloseMessage));
    auto* ButClose = new QPushButton(close.remove(QChar('&')), this);
    ButClose->setObjectName(QStringLiteral("ButClose"));
    ButClose->setDefault(true);
    connect(ButClose, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GrdKeys);
    layout->addWidget(ButClose, 0, Qt::AlignRight);

    // Tall and wide enough for every line without scrolling.
    int height = GrdKeys->horizontalHeader()->sizeHint().height() + 2 * GrdKeys->frameWidth();
    for (int row = 0; row < GrdKeys->rowCount(); ++row) height += GrdKeys->rowHeight(row);
    GrdKeys->setMinimumHeight(height);
    GrdKeys->setMinimumWidth(GrdKeys->columnWidth(0) + GrdKeys->columnWidth(1) + 40 + 2 * GrdKeys->frameWidth());
}

QString TFKeys::keyText(int line) const { return GrdKeys->cellText(0, line); }

QString TFKeys::actionText(int line) const { return GrdKeys->cellText(1, line); }

int TFKeys::lineCount() const { return GrdKeys->rowCount(); }

}  // namespace corvane
