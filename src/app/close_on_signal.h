#pragma once

class QWidget;

namespace treadkey {

// Closes the window, as its close button would, when the process is asked to stop (SIGTERM, SIGINT, SIGHUP):
// a logout or a Ctrl+C then still releases the pedal and ends with exit code 0.
void CloseOnTerminationSignals(QWidget& window);

} // namespace treadkey
