#include "ui/rate_readout.h"

#include <QLocale>

#include "core/playback_rates.h"

namespace corvane {

RateReadout::RateReadout(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("rateReadout"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setStyleSheet(QStringLiteral("color: #ffd040; background: rgba(0, 0, 0, 170); padding: 2px 6px; border-radius: 3px;"));
    // Over a picture that the player paints: clicks and the pointer's hiding go to the picture.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void RateReadout::showRate(double rate) {
    const QString decimalPoint = QLocale::system().decimalPoint();
    const char separator = decimalPoint.size() == 1 && decimalPoint[0].unicode() < 0x80 ? decimalPoint[0].toLatin1() : '.';
    setText(QString::fromStdString(playbackRateText(rate, separator)));
    adjustSize();
    setVisible(!showsAsNormalRate(rate));
    raise();
}

}  // namespace corvane
