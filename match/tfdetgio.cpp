#include "match/tfdetgio.h"

#include <QKeyEvent>
#include <QLabel>

#include "ui/app_context.h"
#include "ui/apply_language_qt.h"

namespace corvane {

namespace {

constexpr int kWidth = 387;
constexpr int kHeight = 40;

}  // namespace

TFDetGio::TFDetGio(AppContext& app, Hooks hooks)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("FDetGio"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kWidth, kHeight);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, Qt::blue);
    setPalette(blue);
    setAutoFillBackground(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(5, 6, 378, 27);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(24);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setStyleSheet(QStringLiteral("color: #ffff00; background: transparent;"));
    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});
}

void TFDetGio::setPlayerText(const QString& text) { Label1->setText(text); }

QString TFDetGio::playerText() const { return Label1->text(); }

void TFDetGio::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    place();
}

void TFDetGio::place() {
    const QRect screen = hooks_.screen();
    int left = screen.left() + screen.width() - width();
    if (const std::optional<QRect> picture = hooks_.picture())
        left = screen.left() + picture->left() + picture->width() - width();
    move(left, screen.top() + screen.height() - height() - 10);
}

bool TFDetGio::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && hooks_.activated) hooks_.activated();
    return QWidget::event(event);
}

void TFDetGio::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hooks_.leaveFullScreen();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace corvane
