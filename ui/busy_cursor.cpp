#include "ui/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace corvane {

BusyCursor::BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace corvane
