#pragma once

#include <string_view>

// What a long run needs from the user interface, without knowing it: a pump that lets the
// queued window messages run, and a place for one line of progress text. The ui layer
// implements both; the core and the hashing routine only see these interfaces.
class MessagePump {
 public:
  virtual void ProcessMessages() = 0;

 protected:
  ~MessagePump() = default;
};

class TextPanel {
 public:
  // text: UTF-8, shown literally.
  virtual void SetText(std::string_view text) = 0;

 protected:
  ~TextPanel() = default;
};
