#pragma once

#include <QByteArray>
#include <QString>

// What the frame headers of an MP3 stream say, checked frame by frame.
struct TMp3Stream {
  int Frames = 0;
  int Version = 0;  // 10 = MPEG-1, 20 = MPEG-2, 25 = MPEG-2.5
  int Layer = 0;
  int BitRate = 0;  // kbit/s
  int SampleRate = 0;
  bool Mono = false;
  bool PrivateBit = false;
  bool Tagged = false;  // an ID3v2 tag comes first
  // Empty when every byte belongs to a frame and all frames agree.
  QString Problem;
};

TMp3Stream InspectMp3(const QByteArray& bytes);

struct TDecodedMp3 {
  bool Ok = false;
  long Rate = 0;
  int Channels = 0;
  qint64 Samples = 0;  // per channel
};

// Decodes a whole MP3 file with libmpg123.
TDecodedMp3 DecodeMp3(const QString& path);

// The ID3v2 text frames of an MP3 file, read with libmpg123.
struct TMp3Tags {
  QString Title;
  QString Album;
  QString Artist;
  QString Track;
  QString Genre;
};
TMp3Tags ReadMp3Tags(const QString& path);
