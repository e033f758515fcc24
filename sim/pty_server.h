#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "sim/bus.h"

namespace sim {

// Serves the bus on a pseudo-terminal linked as comN, in real time. With
// pacing, every byte occupies the line for its real time at the baud rate
// the PC side set: the PC's byte before it counts as received, each echo
// and reply byte before it is delivered, all on one timeline.
class PtyServer {
 public:
  PtyServer(Bus& bus, int comNumber, bool pace);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Opens the pseudo-terminal and creates the link. False with `error` set.
  bool start(std::string& error);
  // Plays the bus until stop().
  void run();
  // Safe from another thread and from a signal handler.
  void stop();

  const std::string& slavePath() const { return slavePath_; }
  const std::string& linkPath() const { return linkPath_; }
  // Receives every transcript entry as it is completed.
  void setTranscriptSink(std::function<void(const TranscriptEntry&)> sink) {
    sink_ = std::move(sink);
  }

 private:
  struct Action {
    enum class Kind { kNone, kReceive, kSend } kind = Kind::kNone;
    uint8_t byte = 0;
    int baud = 0;
    int64_t endNs = 0;
  };
  struct Arrival {
    uint8_t byte;
    int baud;
    int64_t atNs;
  };

  int64_t busUs(int64_t ns) const { return (ns - startNs_) / 1000; }
  int currentBaud() const;
  int64_t frameByteNs(int baud) const;
  void readInput();
  void complete(const Action& a);
  void startNextAction(int64_t nowNs);
  void waitUntil(int64_t deadlineNs);  // < 0: until something happens
  void flushTranscript();
  void removeLink();

  Bus& bus_;
  int com_;
  bool pace_;
  int master_ = -1;
  int slave_ = -1;  // kept open so the master never sees the PC side hang up
  int stopPipe_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  std::string slavePath_;
  std::string linkPath_;
  std::function<void(const TranscriptEntry&)> sink_;

  int64_t startNs_ = 0;
  std::deque<Arrival> input_;
  Action action_;
  int64_t lineFreeNs_ = 0;
  int64_t outputReadyNs_ = 0;
};

}  // namespace sim
