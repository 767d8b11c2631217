#pragma once

#include "PcmOutput.h"

// A sound card that takes all it is given at once and plays nothing: for
// rendering to files, where no card is needed and a busy or missing one must
// not stop the work. The open result can be set to stand for a card that
// refuses to open (a negative errno value).
class TDiscardPcmOutput final : public TPcmOutput {
 public:
  explicit TDiscardPcmOutput(int openResult = 0) : FOpenResult(openResult) {}
  int Open(const TPcmFormat&) override { return FOpenResult; }
  void Close() override {}
  long Write(const qint16*, long count) override { return count; }
  long Delay() override { return 0; }
  void WaitForRoom(int) override {}
  bool SetPaused(bool) override { return true; }
  void Drop() override {}

 private:
  int FOpenResult;
};
