#pragma once

#include <QString>

// What a player shows of an audio file: ID3v2 frames in an MP3, LIST/INFO
// entries in a wave file. Empty fields are left out.
struct TAudioTags {
  QString Title;
  QString Album;
  QString Artist;
  QString Track;  // "N/M"
  QString Genre;
  bool IsEmpty() const {
    return Title.isEmpty() && Album.isEmpty() && Artist.isEmpty() && Track.isEmpty() &&
           Genre.isEmpty();
  }
};
