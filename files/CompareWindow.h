#pragma once

#include "files/ImageCompare.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

// "Vergelijken met <file>" / "Comparer avec <file>": every difference between the image in hand
// and a module file, one row each (what, in the program, in the file), and a line with their
// number. The module's version, when it differs, is the last row, in italics, and is not counted.
// The window is not modal; the caller shows it (and may let it delete itself on closing).
class CompareWindow : public QDialog
{
    Q_OBJECT
public:
    // `path` names the file compared with (its name goes in the title); `result` is a compared
    // result of ImageCompare::compare (one that was not compared shows no rows).
    CompareWindow(int language, const QString &path, const ImageCompare::Result &result,
                  QWidget *parent = nullptr);

    enum Column
    {
        WhatColumn,
        ProgramColumn,
        FileColumn
    };

private:
    QTreeWidget *DifferenceList;
    QLabel *CountLabel;
    QPushButton *CloseButton;
};
