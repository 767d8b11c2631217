#pragma once

#include <QString>

#include "Exceptions.h"
#include "SpeechTypes.h"

// A usage error of the speech component, with its fixed text.
class EOleError : public Exception {
 public:
  explicit EOleError(QString message, int helpContext = 0)
      : Exception(std::move(message)), FHelpContext(helpContext) {}
  int HelpContext() const { return FHelpContext; }

 private:
  int FHelpContext;
};

// A failed engine call; ErrorCode is its result.
class ESpeechError : public EOleError {
 public:
  ESpeechError(QString message, HRESULT errorCode)
      : EOleError(std::move(message)), FErrorCode(errorCode) {}
  // The message for a failed result: the engine's text for it (or the
  // system's), a line break and "OLE error" with the code in hexadecimal.
  // When the failing layer left a cause for the code, it follows on a third
  // line.
  explicit ESpeechError(HRESULT errorCode);
  HRESULT ErrorCode() const { return FErrorCode; }

 private:
  HRESULT FErrorCode;
};

// The engine's text for a message number (the low 16 bits of a result);
// empty when there is none.
QString EngineResourceText(int id);
// The system's description of a result.
QString SystemErrorText(HRESULT hr);

// Usage error texts of the component.
namespace TTSTexts {
inline QString ActiveMustBeFalse() {
  return QStringLiteral("The Active property must be FALSE before you can set the %1 property");
}
inline QString ActiveMustBeTrue() {
  return QStringLiteral("The Active property must be TRUE before the %1 method can be called");
}
inline QString DeviceOutOfRange() {
  return QStringLiteral(
      "The value specified for the AudioDeviceID is outside the range of available IDs");
}
inline QString InvalidModeName() {
  return QStringLiteral("The value assigned to the ModeName property is invalid");
}
inline QString NoAttributes() {
  return QStringLiteral("Couldn't create attributes Interface: Is engine registered?");
}
inline QString NotImplemented() {
  return QStringLiteral("%1 is not implemented in the %2 engine");
}
inline QString NoDialogs() {
  return QStringLiteral("Could't create TTSDialogs Object. Is it registered?");
}
inline QString NoWaveOut() {
  return QStringLiteral("No wave out devices available on system.");
}
inline QString NeedOutputFile() {
  return QStringLiteral(
      "OutputDest of odFile requres a valid path and file name in the OutputFile property");
}
inline QString NeedOtherDestEvent() {
  return QStringLiteral(
      "An OnMakeOtherDest event must be defined to use an OutputDest of odOther.");
}
inline QString OtherDestUnassigned() {
  return QStringLiteral("OnMakeOtherDest must assign DestInterface parameter");
}
}  // namespace TTSTexts
