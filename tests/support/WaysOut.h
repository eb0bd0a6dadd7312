#pragma once

#include <QTest>
#include <utility>

// The ways out of a read and the moments of the read they are tried at, shared by the tests on
// the in-memory line and on the real port.
enum WayOut
{
    AbortButton,
    Escape,
    LineLost,
    Unsupported,
    PortMissing
};
enum Moment
{
    Waiting,
    Announced,
    HalfWay
};

// Rows "way", "moment", "fileOpen" for Afbreken, Esc and a lost line at each moment, with a fresh
// program and with a file opened (`fileRow` names the latter).
inline void addWayOutRows(const char *fileRow)
{
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("moment");
    QTest::addColumn<bool>("fileOpen");
    const std::pair<const char *, int> ways[] = {
        {"Afbreken", AbortButton}, {"Esc", Escape}, {"line lost", LineLost}};
    const std::pair<const char *, int> moments[] = {{"waiting for the announce line", Waiting},
                                                    {"before the first data line", Announced},
                                                    {"half-way", HalfWay}};
    for (bool fileOpen : {false, true})
        for (const auto &[wayName, way] : ways)
            for (const auto &[momentName, moment] : moments)
                QTest::addRow("%s, %s, %s", fileOpen ? fileRow : "fresh", wayName, momentName)
                    << way << moment << fileOpen;
}
