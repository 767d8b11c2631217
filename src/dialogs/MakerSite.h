#pragma once

#include <QString>

// The maker's web site and support address. One host for every page, so a move
// of the site is one edit.
namespace MakerSite {

inline const QString Host = QStringLiteral("https://www.verbalune.example");
inline const QString SupportAddress = QStringLiteral("support@verbalune.example");

inline QString Page(const QString& path) {
  return Host + path;
}
inline QString HomePage() {
  return Page(QStringLiteral("/"));
}
inline QString Mp3PlayersPage() {
  return Page(QStringLiteral("/Verbalune/mp3players.html"));
}
inline QString VoicesPage() {
  return Page(QStringLiteral("/Verbalune/SpeechEngine/voices.html"));
}
inline QString SpeechEngineDownloadPage() {
  return Page(QStringLiteral("/Verbalune/SpeechEngine/download.html"));
}
inline QString SupportPage() {
  return Page(QStringLiteral("/support.html"));
}
inline QString MailingListPage() {
  return Page(QStringLiteral("/mailinglist.html"));
}
inline QString ProductsPage() {
  return Page(QStringLiteral("/products.html"));
}

}  // namespace MakerSite
