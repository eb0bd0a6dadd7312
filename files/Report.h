#pragma once

#include "protocol/ModuleImage.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

struct ModuleNames;

// The configuration report of a module: the record of an installation an installer leaves with
// the customer. It holds plain texts only, in the words the editors show, grouped in sections;
// ReportDocument lays them out for a printer or a PDF file.

// One part of the report: a title and rows of texts. A section with column titles is a table;
// one without is a list of lines (a label and its value, or a single text).
struct ReportSection
{
    QString title; // empty for the heading of the report
    QStringList columns;
    QList<QStringList> rows;
    QString note; // a remark below the rows, or empty

    // A longer document (the installation report) is made of parts: a section may start on a new
    // page, under a heading as large as the report's title (a module's name and place), and show
    // some of its rows greyed (indexes into `rows`: push buttons that do nothing). A module's
    // report uses none of these.
    bool newPage = false;
    QString heading;
    QList<int> greyedRows;

    bool operator==(const ReportSection &) const = default;
};

struct Report
{
    int language = 1; // 1 Dutch, 2 French: the language of every text of the report
    QString title;
    QList<ReportSection> sections;

    // No report: the module type has no image.
    bool isEmpty() const { return sections.isEmpty(); }
};

// The report of `image`, the configuration of a module of type `moduleType` (0..3), in `language`
// (2 French; any other value gives Dutch, so a report is always readable). `filePath` is the
// module file the image was opened from or saved to (empty: none), `when` the moment printed in
// the heading (invalid: none). The sections, in order:
//  - the heading: model and type, version, master or slave, the file, the date;
//  - the push buttons: number, first and second function;
//  - the output functions (relay modules only): function, active time (with the linked output);
//  - the second-function time;
//  - the dim start values (dim and Velano modules);
//  - the scenes: each channel's value and, on a master, the group-scene choice. A scene that
//    leaves every channel as it is ("***") is left out, and a note says so once.
// A code no editor list holds is shown as its number. An empty report for a type outside 0..3.
// With `names` (those of an installation module), the push buttons, outputs and scenes that have
// names get a column of them, and every function, channel and linked output reads with its name.
Report makeReport(const ModuleImage &image, int moduleType, int language, const QString &filePath,
                  const QDateTime &when, const ModuleNames *names = nullptr);
