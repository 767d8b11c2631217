#include "Mp3Inspect.h"

#include <mpg123.h>

#include <QFile>
#include <memory>
#include <vector>

namespace {

const int kBitRates1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
const int kBitRates2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1};
const int kRates1[] = {44100, 48000, 32000, -1};

}  // namespace

TMp3Stream InspectMp3(const QByteArray& bytes) {
  TMp3Stream stream;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  qsizetype pos = 0;
  // A tag in front is no frame: skip its header and its syncsafe size.
  if (bytes.startsWith("ID3") && bytes.size() >= 10) {
    pos = 10 + ((p[6] & 0x7F) << 21 | (p[7] & 0x7F) << 14 | (p[8] & 0x7F) << 7 | (p[9] & 0x7F));
    stream.Tagged = true;
  }
  while (pos < bytes.size()) {
    if (pos + 4 > bytes.size()) {
      stream.Problem = QStringLiteral("trailing bytes");
      break;
    }
    const quint32 h = (quint32(p[pos]) << 24) | (quint32(p[pos + 1]) << 16) |
                      (quint32(p[pos + 2]) << 8) | p[pos + 3];
    if ((h >> 21) != 0x7FF) {
      stream.Problem = QStringLiteral("no frame sync at %1").arg(pos);
      break;
    }
    const int versionBits = (h >> 19) & 3;
    const int version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : versionBits == 0 ? 25 : 0;
    const int layer = 4 - static_cast<int>((h >> 17) & 3);
    const int bitRate = (version == 10 ? kBitRates1 : kBitRates2)[(h >> 12) & 15];
    const int rateIndex = (h >> 10) & 3;
    int rate = kRates1[rateIndex];
    if (rate > 0) {
      rate /= version == 10 ? 1 : version == 20 ? 2 : 4;
    }
    const bool padding = (h >> 9) & 1;
    const bool privateBit = (h >> 8) & 1;
    const bool mono = ((h >> 6) & 3) == 3;
    if (version == 0 || layer != 3 || bitRate <= 0 || rate <= 0) {
      stream.Problem = QStringLiteral("bad header at %1").arg(pos);
      break;
    }
    if (stream.Frames == 0) {
      stream.Version = version;
      stream.Layer = layer;
      stream.BitRate = bitRate;
      stream.SampleRate = rate;
      stream.Mono = mono;
      stream.PrivateBit = privateBit;
    } else if (version != stream.Version || bitRate != stream.BitRate ||
               rate != stream.SampleRate || mono != stream.Mono) {
      stream.Problem = QStringLiteral("frame %1 differs").arg(stream.Frames);
      break;
    }
    ++stream.Frames;
    pos += (version == 10 ? 144 : 72) * bitRate * 1000 / rate + (padding ? 1 : 0);
  }
  if (stream.Problem.isEmpty() && pos != bytes.size()) {
    stream.Problem = QStringLiteral("last frame cut short");
  }
  return stream;
}

TDecodedMp3 DecodeMp3(const QString& path) {
  TDecodedMp3 result;
  int error = MPG123_OK;
  std::unique_ptr<mpg123_handle, void (*)(mpg123_handle*)> handle(mpg123_new(nullptr, &error),
                                                                  mpg123_delete);
  if (!handle) {
    return result;
  }
  mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  if (mpg123_open(handle.get(), QFile::encodeName(path).constData()) != MPG123_OK) {
    return result;
  }
  int encoding = 0;
  if (mpg123_getformat(handle.get(), &result.Rate, &result.Channels, &encoding) != MPG123_OK) {
    return result;
  }
  std::vector<unsigned char> buffer(65536);
  qint64 bytes = 0;
  for (;;) {
    size_t done = 0;
    const int rc = mpg123_read(handle.get(), buffer.data(), buffer.size(), &done);
    bytes += static_cast<qint64>(done);
    if (rc == MPG123_DONE) {
      break;
    }
    if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) {
      mpg123_close(handle.get());
      return result;
    }
  }
  mpg123_close(handle.get());
  result.Samples = bytes / mpg123_encsize(encoding) / result.Channels;
  result.Ok = true;
  return result;
}

TMp3Tags ReadMp3Tags(const QString& path) {
  TMp3Tags tags;
  int error = MPG123_OK;
  std::unique_ptr<mpg123_handle, void (*)(mpg123_handle*)> handle(mpg123_new(nullptr, &error),
                                                                  mpg123_delete);
  if (!handle || mpg123_open(handle.get(), QFile::encodeName(path).constData()) != MPG123_OK) {
    return tags;
  }
  mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  mpg123_scan(handle.get());
  mpg123_id3v1* v1 = nullptr;
  mpg123_id3v2* v2 = nullptr;
  if ((mpg123_meta_check(handle.get()) & MPG123_ID3) == 0 ||
      mpg123_id3(handle.get(), &v1, &v2) != MPG123_OK || v2 == nullptr) {
    return tags;
  }
  const auto text = [](const mpg123_string* s) {
    return s != nullptr && s->fill > 0 ? QString::fromUtf8(s->p, qsizetype(s->fill) - 1)
                                       : QString();
  };
  tags.Title = text(v2->title);
  tags.Album = text(v2->album);
  tags.Artist = text(v2->artist);
  tags.Genre = text(v2->genre);
  for (size_t i = 0; i < v2->texts; ++i) {
    if (QByteArray(v2->text[i].id, 4) == "TRCK") {
      tags.Track = text(&v2->text[i].text);
    }
  }
  mpg123_close(handle.get());
  return tags;
}
