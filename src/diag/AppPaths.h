#pragma once

#include <QString>

// Answers every "where does this file live" question of the program.
//  - shared data (intro articles, help, pictures, icons): read-only, shipped;
//  - user data (saved articles, traces, default output folder): writable;
//  - config (the registry file): writable.
// Each can be overridden by an environment variable (VERBALUNE_SHARE_DIR,
// VERBALUNE_DATA_DIR, VERBALUNE_CONFIG_DIR) or by the setters, which tests use
// so that nothing ever touches a real home folder.
class AppPaths final {
 public:
  static QString ShareDir();
  static QString DataDir();
  static QString ConfigDir();
  // The same folders without creating them, for files that are only read
  // when present (a run that writes nothing leaves no trace in the home).
  static QString DataDirPath();
  static QString ConfigDirPath();

  // Full path of a shipped file, e.g. SharedFile("VLIntro.chl").
  static QString SharedFile(const QString& name);
  // Full path of a per-user file, e.g. DataFile("VLExport.txt").
  static QString DataFile(const QString& name);

  // Base name of the trace files: data folder + "/verbalune".
  static QString TraceBaseName();
  // File name of the running program, used to key window placement.
  static QString ProgramFileName();
  // Full path of the running program (for the autostart entry).
  static QString ProgramPath();

  static void SetShareDir(const QString& dir);
  static void SetDataDir(const QString& dir);
  static void SetConfigDir(const QString& dir);
  // Forgets every override made by the setters.
  static void Reset();
};
