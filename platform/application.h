// Process-wide services of the application: the tick clock, waiting, one pass
// over pending events, message boxes and the current directory.
//
// The message boxes are modal and carry the application's title as their
// caption. Tests can route them to a sink instead, so that no modal loop
// blocks an offscreen run.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// Milliseconds from a fixed point in the past, on a monotonic clock. Only
// differences mean anything; the count wraps around after about 49.7 days.
std::uint32_t GetTickCount();

// Blocks the calling thread for `milliseconds`; no events are handled meanwhile.
void Sleep(std::uint32_t milliseconds);

// Handles the events that are pending now, then returns.
void ProcessMessages();

// The current working directory, without a trailing separator except for the
// root itself. Throws Exception when the system cannot say what it is (it has
// been removed, or its path is longer than the system allows).
std::string GetCurrentDir();

// The caption of the application's message boxes ("Fourfall" once set).
void SetApplicationTitle(const std::string& title);
std::string ApplicationTitle();

// A modal information box with `text` and an OK button.
void ShowMessage(const std::string& text);

// A modal error box with the exception's message.
void ShowException(const std::exception& error);

enum class TMessageKind { Information, Error };

// Receives every message box instead of the screen while installed: its kind,
// caption and text. Installing an empty sink restores the modal boxes.
// Returns the sink that was installed before.
using TMessageSink =
    std::function<void(TMessageKind kind, const std::string& caption, const std::string& text)>;
TMessageSink SetMessageSink(TMessageSink sink);
