#pragma once

// Libraries for the benchmarks: generated in the shapes that cost the most and in the
// shape teachers have, written as real data files into a temporary working folder.

#include "DataFile.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVector>

#include <array>
#include <functional>

// How the examples of a category spread over the classes.
enum class Shape {
    Distinct, // every example has its own first-level class: the longest first-level lists
    OneClass, // every example under one classification: the longest example list
    Starter,  // the starter library's classes, each repeated in proportion
};
constexpr std::array<Shape, 3> allShapes{Shape::Distinct, Shape::OneClass, Shape::Starter};

QString shapeName(Shape shape);

using SizedBenchmark = void (*)(benchmark::State &, Shape, int);
// Registers name/<shape>/<count> for every shape at 30, 100 and 300 examples.
void registerForEverySize(const char *name, SizedBenchmark run, bool manualTime);
// Runs what was registered, with Google Benchmark's command-line options; the exit code.
int runRegisteredBenchmarks(int &argc, char **argv);

// The title of a category's data file (0, 1, 2 for Kotoban1..3.txt).
QString categoryTitle(int category);

// count examples of the given shape for a category, with sentences of the starter
// library, varied so that they do not all repeat.
QVector<Example> makeRecords(Shape shape, int count, int category);

// A data file as the program writes it: title line, records, code page 932, CR LF.
QByteArray dataFileBytes(int category, const QVector<Example> &records);

// A composition of exactly length characters: example sentences, one per line.
QString compositionText(int length);

// A temporary folder holding Kotoban1..3.txt.
class LibraryFolder {
public:
    LibraryFolder(Shape shape, int count);
    LibraryFolder(const LibraryFolder &) = delete;
    LibraryFolder &operator=(const LibraryFolder &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// Before the QApplication of a window benchmark: the offscreen platform unless another is
// asked for, and without its note on every shown window that it cannot pass size hints on.
void prepareOffscreenWindows();

// Lets the event loop do what a user action leaves for it: layout and painting.
void settle();

// Times a user action on a shown window: prepare (untimed), act (timed: the iteration's
// manual time), then the event loop's layout and painting (timed apart, as repaint_us);
// cpu_us is the action's own CPU time, without waiting for the disk or other programs.
void measureAction(benchmark::State &state, const std::function<void(int)> &prepare,
                   const std::function<void()> &act);
