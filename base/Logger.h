// The journal component: collects text messages while a file is read, and raises a
// progress-and-stop event through which long operations learn whether the user wants to stop.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TLogger;

// (sender, progression in percent, stop: set to true by the handler to ask for a stop)
using TLoggerEvent = std::function<void(TLogger& Sender, int progression, bool& stop)>;

class TLogger {
public:
  TLoggerEvent OnEvent;
  bool Stop = false;
  std::vector<std::string> Messages;
  int Progression = 0;

  TLogger() = default;
  virtual ~TLogger() = default;
  TLogger(const TLogger&) = delete;
  TLogger& operator=(const TLogger&) = delete;

  // Calls the handler with the current progression; returns its stop answer. Without a
  // handler: false, and Stop is left unchanged.
  virtual bool DoEvent();
};
