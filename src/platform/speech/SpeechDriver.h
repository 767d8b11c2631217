#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <memory>

#include "PcmOutput.h"
#include "SpeechTypes.h"

// Pitch, speed and their ranges, in the engine's own units.
struct TSynthLimits {
  bool HasAttributes = true;
  quint16 MinPitch = 0, MaxPitch = 100, DefaultPitch = 50;
  quint32 MinSpeed = 80, MaxSpeed = 450, DefaultSpeed = 175;
};

struct TSynthSettings {
  quint16 Pitch = 50;
  quint32 Speed = 175;
};

// Receives what a synthesiser produces for one piece of text.
class TSynthOutput {
 public:
  virtual ~TSynthOutput() = default;
  // False: stop at once (reset, or the destination failed).
  virtual bool Audio(const qint16* frames, long count) = 0;
  // A word starts here; index counts UTF-16 units into the piece.
  virtual bool Word(int utf16Index) = 0;
};

// Turns text into audio for one mode. Speak runs on the engine's worker thread.
class TSynthesizer {
 public:
  virtual ~TSynthesizer() = default;
  virtual TPcmFormat Format() const = 0;
  virtual TSynthLimits Limits() const = 0;
  virtual HRESULT Speak(QStringView text, const TSynthSettings& settings, TSynthOutput& output) = 0;
  virtual HRESULT Phoneme(const QString& text, QString* phonemes) {
    Q_UNUSED(text);
    Q_UNUSED(phonemes);
    return E_NOTIMPL;
  }
};

// An installed engine: the modes it offers and a synthesiser for each.
class ISpeechDriver {
 public:
  virtual ~ISpeechDriver() = default;
  virtual QList<TTSMODEINFO> Modes() = 0;
  virtual HRESULT CreateSynthesizer(const TTSMODEINFO& mode,
                                    std::unique_ptr<TSynthesizer>& synthesizer) = 0;
  // A failure to report for the named call instead of doing it (test engines).
  virtual HRESULT Fault(const QString& call) const {
    Q_UNUSED(call);
    return S_OK;
  }
  // Notes a call in the engine's log (test engines).
  virtual void Note(const QString& call) { Q_UNUSED(call); }
};
