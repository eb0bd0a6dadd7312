#pragma once

#include "protocol/MemoryLink.h"
#include "protocol/ModuleImage.h"
#include "protocol/Wire.h"

#include <QObject>
#include <QStringList>
#include <vector>

// Plays a bus module on the far end of a MemoryLink: it announces itself when asked, takes the
// "D" burst and answers the program's frames from its memory.
class ScriptedModule : public QObject
{
public:
    ScriptedModule(MemoryLink &link, int type, int master = 1)
        : m_link(link), type(type), master(master), memory(ModuleTypes::info(type == 7 ? 0 : type)->slotCount)
    {
        for (size_t i = 0; i < memory.size(); ++i)
            memory[i] = static_cast<int>((i * 7 + 3) % 1000);
        memory[ModuleTypes::MasterSlot] = master;
        connect(&link, &MemoryLink::programWrote, this, &ScriptedModule::onChar, Qt::QueuedConnection);
    }

    void announce() { m_link.moduleSend("M" + QByteArray::number(master) + QByteArray::number(type) + "501\r"); }
    const ModuleImage image() const
    {
        ModuleImage img(static_cast<int>(memory.size()));
        for (size_t i = 0; i < memory.size(); ++i)
            img.set(static_cast<int>(i), memory[i]);
        return img;
    }

    int type;
    int master;
    std::vector<int> memory;
    bool answer = true;       // answers commands
    int stopAfterLines = -1;  // stop a read after this many data lines
    QByteArray extraLines;    // sent in the middle of a read
    QStringList frames;       // every frame received, without LF CR
    int dCount = 0;
    QStringList statusLines = {QStringLiteral("S0412"), QStringLiteral("S0413"), QStringLiteral("S0414"),
                               QStringLiteral("S0415"), QStringLiteral("S0416"), QStringLiteral("S0417"),
                               QStringLiteral("S0418"), QStringLiteral("S0419"), QStringLiteral("S0420"),
                               QStringLiteral("S0421")};

private:
    void onChar(char c)
    {
        if (c == 'D') {
            ++dCount;
            return;
        }
        m_buffer += c;
        if (c != '\r')
            return;
        const QString frame = QString::fromLatin1(m_buffer).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
        m_buffer.clear();
        frames << frame;
        if (!answer)
            return;
        if (frame == QLatin1String("T3600")) {
            QByteArray lines;
            for (size_t i = 0; i < memory.size(); ++i) {
                if (stopAfterLines >= 0 && static_cast<int>(i) >= stopAfterLines)
                    break;
                if (i == memory.size() / 2)
                    lines += extraLines;
                lines += "RD" + threeDigits(static_cast<int>(i)).toLatin1() + threeDigits(memory[i]).toLatin1() + "\r";
            }
            m_link.moduleSend(lines);
        } else if (frame == QLatin1String("T3500")) {
            announce();
        } else if (frame == QLatin1String("T9019")) {
            for (const QString &s : statusLines)
                m_link.moduleSend(s.toLatin1() + "\r");
        } else if (frame.size() == 7 && frame.startsWith(QLatin1Char('T'))) {
            const int slot = frame.mid(1, 3).toInt();
            if (slot >= 0 && slot < static_cast<int>(memory.size()))
                memory[static_cast<size_t>(slot)] = frame.mid(4, 3).toInt();
        }
    }

    MemoryLink &m_link;
    QByteArray m_buffer;
};
