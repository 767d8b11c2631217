#include "LameUnit.h"

#include <lame/lame.h>

#include <QElapsedTimer>
#include <QSysInfo>
#include <QtEndian>
#include <cmath>
#include <memory>
#include <vector>

#include "AtomicFile.h"
#include "BaseUtils.h"
#include "UserMessages.h"

namespace {

// Output gathered before it goes to disk; the encoder hands out a few hundred
// bytes per chunk.
constexpr qint64 kOutputBufferSize = 65536;
constexpr qint64 kProcessEventsIntervalMs = 15;

void ShowReport(const QString& message) {
  UtilsClass::Trace(message);
  UserMessages().ShowError(message, ErrorCaption());
}

struct TLameCloser {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using TLamePtr = std::unique_ptr<lame_global_flags, TLameCloser>;

// Gathers encoder output and hands it to the atomic writer in large pieces.
class TMp3Output final {
 public:
  explicit TMp3Output(const QString& path)
      : FWriter(path, 0644, TAtomicFileWriter::TTemporary::WorkingFile) {
    FBuffer.reserve(kOutputBufferSize);
  }
  bool Open() { return FWriter.Open(); }
  bool Write(const unsigned char* data, int size) {
    FBuffer.append(reinterpret_cast<const char*>(data), size);
    return FBuffer.size() < kOutputBufferSize || Flush();
  }
  bool Flush() {
    const bool ok = FWriter.Write(FBuffer);
    FBuffer.clear();
    return ok;
  }
  bool Commit() { return Flush() && FWriter.Commit(); }
  QString ErrorString() const { return FWriter.ErrorString(); }

 private:
  TAtomicFileWriter FWriter;
  QByteArray FBuffer;
};

// lame takes UTF-16 text with a byte order mark, ended by a zero.
void SetTextFrame(lame_global_flags* lame, const char* frame, const QString& text) {
  if (text.isEmpty()) {
    return;
  }
  std::vector<unsigned short> utf16;
  utf16.reserve(static_cast<size_t>(text.size()) + 2);
  utf16.push_back(0xFEFF);
  for (const QChar c : text) {
    utf16.push_back(c.unicode());
  }
  utf16.push_back(0);
  id3tag_set_textinfo_utf16(lame, frame, utf16.data());
}

void SetId3Tags(lame_global_flags* lame, const TAudioTags& tags) {
  id3tag_init(lame);
  id3tag_v2_only(lame);
  SetTextFrame(lame, "TIT2", tags.Title);
  SetTextFrame(lame, "TALB", tags.Album);
  SetTextFrame(lame, "TPE1", tags.Artist);
  if (!tags.Track.isEmpty()) {
    id3tag_set_track(lame, tags.Track.toLatin1().constData());
  }
  if (!tags.Genre.isEmpty()) {
    id3tag_set_genre(lame, tags.Genre.toLatin1().constData());
  }
}

bool IsEncodable(const TWaveFormat& format) {
  return format.FormatTag == kWaveFormatPcm &&
         (format.BitsPerSample == 8 || format.BitsPerSample == 16) &&
         (format.Channels == 1 || format.Channels == 2);
}

}  // namespace

int ProgressPosition(qint64 done, qint64 total) {
  if (total <= 0) {
    return 0;
  }
  const double x = static_cast<double>(done) * 100.0 / static_cast<double>(total) + 0.5;
  const double whole = std::floor(x);
  const double fraction = x - whole;
  auto result = static_cast<qint64>(whole);
  if (fraction > 0.5 || (fraction == 0.5 && (result % 2) != 0)) {
    ++result;
  }
  return static_cast<int>(result);
}

TMp3Encoder::TMp3Encoder(TEncodeCallbacks callbacks) : FCallbacks(std::move(callbacks)) {}

bool TMp3Encoder::EncodeMp3(const QString& waveFile, const QString& mp3File, int bitRate,
                            int sampleRate) {
  UtilsClass::Trace(QStringLiteral("Starting Lame MP3 conversion"));
  const auto Report = [this](const QString& message, const QString& cause = QString()) {
    if (!cause.isEmpty()) {
      UtilsClass::Trace(cause);
    }
    if (FCallbacks.Failed) {
      UtilsClass::Trace(message);
      FCallbacks.Failed(cause.isEmpty() ? message : message + QStringLiteral("\r\r") + cause);
    } else {
      ShowReport(message);
    }
  };
  TWaveFileReader reader;
  try {
    reader.Open(waveFile);
  } catch (const EWaveError& e) {
    Report(e.Message());
    return false;
  }
  const TWaveFormat source = reader.Format();
  if (!IsEncodable(source)) {
    Report(QStringLiteral("This wave file is not valid for conversion"));
    return false;
  }
  TMp3Output output(mp3File);
  if (!output.Open()) {
    Report(QStringLiteral("Cannot create file ") + mp3File, output.ErrorString());
    return false;
  }

  TLamePtr lame(lame_init());
  int rc = -1;
  if (lame && sampleRate > 0) {
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), bitRate);
    lame_set_VBR_max_bitrate_kbps(lame.get(), bitRate);
    lame_set_VBR_q(lame.get(), 4);
    lame_set_emphasis(lame.get(), 0);
    lame_set_extension(lame.get(), 1);  // the private bit
    lame_set_error_protection(lame.get(), 0);
    lame_set_copyright(lame.get(), 0);
    lame_set_original(lame.get(), 0);
    lame_set_bWriteVbrTag(lame.get(), 0);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (!FTags.IsEmpty()) {
      SetId3Tags(lame.get(), FTags);
    }
    rc = lame_init_params(lame.get());
    // The library quietly picks the nearest bit rate it has; an MP3 of another
    // bit rate than the one asked for is not what the user chose.
    if (rc >= 0 && lame_get_brate(lame.get()) != bitRate) {
      rc = -1;
    }
  }
  if (rc < 0) {
    Report(QStringLiteral("Error opening encoding stream %1").arg(rc));
    return false;
  }

  if (!FTags.IsEmpty()) {
    // The tag goes first, where players look for it.
    std::vector<unsigned char> tag(lame_get_id3v2_tag(lame.get(), nullptr, 0));
    if (!tag.empty() && (lame_get_id3v2_tag(lame.get(), tag.data(), tag.size()) != tag.size() ||
                         !output.Write(tag.data(), static_cast<int>(tag.size())))) {
      UtilsClass::Trace(output.ErrorString());
      Report(QStringLiteral("Write Error (1)"));
      return false;
    }
  }

  const int chunkSamples = FChunkSamples > 0 ? FChunkSamples : lame_get_framesize(lame.get());
  const bool direct = source.BitsPerSample == 16 && source.Channels == 1;
  const TWaveFormat mono16 = MakePcmFormat(source.SamplesPerSec, 1, 16);
  const int frameBytes = PcmFrameBytes(source);
  // For 16-bit mono the chunk is 2 x samples bytes; other forms read the same
  // number of frames.
  const qint64 chunkBytes = qint64(chunkSamples) * frameBytes;
  QByteArray input(chunkBytes, Qt::Uninitialized);
  QByteArray samples;
  samples.reserve(qint64(chunkSamples) * 2);
  const int mp3BufferSize = static_cast<int>(1.25 * chunkSamples + 7200);
  std::vector<unsigned char> mp3Buffer(static_cast<size_t>(mp3BufferSize));

  const qint64 total = reader.DataSize();
  qint64 done = 0;
  int position = 0;
  if (FCallbacks.Progress) {
    FCallbacks.Progress(0);
  }
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  bool firstChunk = true;
  while (done != total) {
    const qint64 chunk = std::min(chunkBytes, total - done);
    try {
      if (reader.Read(input.data(), chunk) != chunk) {
        throw EWaveError(QString());
      }
    } catch (const EWaveError& e) {
      UtilsClass::Trace(e.Message());
      Report(QStringLiteral("Read Error"));
      return false;
    }
    const char* pcm = input.constData();
    int count = static_cast<int>(chunk / 2);  // an odd last byte is ignored
    if (!direct) {
      samples.clear();
      count = static_cast<int>(chunk / frameBytes);
      ConvertSampleForm(input.constData(), count, source, mono16, samples);
      pcm = samples.constData();
    } else if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
      samples.resize(qint64(count) * 2);
      qFromLittleEndian<qint16>(input.constData(), count, samples.data());
      pcm = samples.constData();
    }
    const auto* pcm16 = reinterpret_cast<const short*>(pcm);
    const int produced =
        lame_encode_buffer(lame.get(), pcm16, pcm16, count, mp3Buffer.data(), mp3BufferSize);
    if (produced < 0) {
      Report(QStringLiteral("beEncodeChunk failed %1").arg(produced));
      return false;
    }
    if (!output.Write(mp3Buffer.data(), produced)) {
      Report(QStringLiteral("Write Error (1)"), output.ErrorString());
      return false;
    }
    if (FAbort) {
      UtilsClass::Trace(QStringLiteral("MP3 conversion stopped"));
      return false;
    }
    done += chunk;
    const int now = ProgressPosition(done, total);
    if (now != position && FCallbacks.Progress) {
      FCallbacks.Progress(now);
    }
    position = now;
    if (FCallbacks.ProcessEvents &&
        (firstChunk || sinceEvents.elapsed() >= kProcessEventsIntervalMs)) {
      FCallbacks.ProcessEvents();
      sinceEvents.restart();
    }
    firstChunk = false;
  }

  const int flushed = lame_encode_flush(lame.get(), mp3Buffer.data(), mp3BufferSize);
  if (flushed < 0) {
    Report(QStringLiteral("beExitStream failed %1").arg(flushed));
    return false;
  }
  if (!output.Write(mp3Buffer.data(), flushed) || !output.Commit()) {
    Report(QStringLiteral("Write error (2)"), output.ErrorString());
    return false;
  }
  return true;
}
