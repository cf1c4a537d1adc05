#include "app/close_on_signal.h"

#include "signals/stop_requests.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace treadkey {
namespace {

// Catches the requests for as long as the window lives.
class WindowStopRequests : public QObject {
public:
    explicit WindowStopRequests(QWidget& window)
        : QObject(&window), requests_(StopOn::AnyRequest, [closing = QPointer<QWidget>(&window)] {
              // On the catcher's thread: the window closes on its own, as its close button closes it.
              QMetaObject::invokeMethod(
                  qApp,
                  [closing] {
                      if (closing) {
                          closing->close();
                      }
                  },
                  Qt::QueuedConnection);
          }) {}

private:
    StopRequests requests_;
};

} // namespace

void CloseOnTerminationSignals(QWidget& window) {
    new WindowStopRequests(window); // the window owns it
}

} // namespace treadkey
