#pragma once

#include <QStringList>

/// One subcommand of glimmerbook-bench: its name on the command line, a one-line usage text and
/// the function that runs it with the remaining arguments, returning the process exit code.
struct BenchCommand
{
    const char *name;
    const char *usage;
    int (*run)(const QStringList &args);
};

/// thumbnail FOLDER [--workers N]: the catalogue's per-photo work on every photo of FOLDER.
int runThumbnail(const QStringList &args);
/// scan FOLDER: the album folder scan.
int runScan(const QStringList &args);
/// make-reference DIR [--photos N]: the reference photos and folders the benchmarks run on.
int runMakeReference(const QStringList &args);
/// catalogue FOLDER [--workers N]: the whole-album catalogue builder into the program home's
/// catalogue.
int runCatalogue(const QStringList &args);
/// open-album FOLDER [--workers N]: album sync plus the page built from the catalogue.
int runOpenAlbum(const QStringList &args);
