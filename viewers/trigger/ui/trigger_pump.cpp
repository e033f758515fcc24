#include "viewers/trigger/ui/trigger_pump.h"

#include <QCoreApplication>
#include <QThread>

namespace trigger {

void TriggerPump::letEventsRun() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QThread::usleep(500);
}

}  // namespace trigger
