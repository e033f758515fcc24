#pragma once

class QWidget;

namespace funkora {

// Ctrl+C and a polite kill (SIGINT, SIGTERM) are held back from the start,
// so that they cannot end the program before its window can store the
// settings; call this first thing in main().
void holdQuitSignals();

// From now on such a signal closes `window` as "Beenden" does: the settings
// are written and the program ends. A signal held back since the start is
// taken now.
void closeOnQuitSignals(QWidget& window);

}  // namespace funkora
