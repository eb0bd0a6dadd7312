#pragma once

#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "serial/MemoryLink.h"
#include "support/Find.h"
#include "support/Images.h"
#include "support/ScriptedModule.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"
#include "support/Typing.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <memory>

// The settings files a rig's window starts with.
struct RigSettings
{
    QByteArray country = " 1 \r\n";
    QByteArray pc = "20\r\n"; // a short pause after each character: conversations run fast
    QByteArray port = "1\r\n";
    // The installer's module folder (directory.vdm), made inside the rig's folder: "" is the rig's
    // folder itself; nullptr leaves directory.vdm empty.
    const char *moduleFolder = "";
    bool documentation = false; // the shipped documentation (ZK*.pdf) and pictures (*.bmp) copied in
};

// The main window of the GUI tests: a throw-away installation folder with its settings files,
// the window on an in-memory line, and a scripted module on the far end of that line. The steps
// every test takes are members: read a module, open a module file, start a diagnostic test.
class WindowRig
{
public:
    explicit WindowRig(const RigSettings &settings = {})
    {
        QByteArray directory = "\r\n";
        if (settings.moduleFolder) {
            QDir(home.path()).mkpath(QString::fromUtf8(settings.moduleFolder));
            directory = folder(settings.moduleFolder).toLocal8Bit() + directory;
        }
        home.writeSettings(settings.country, settings.port, settings.pc, directory);
        if (settings.documentation) {
            const QDir shipped(qEnvironmentVariable("QV_VELANO_HOME"));
            for (const QString &file :
                 shipped.entryList({QStringLiteral("ZK*.pdf"), QStringLiteral("*.bmp")}))
                QFile::copy(shipped.filePath(file), home.file(file));
        }
        restart();
    }
    WindowRig(const WindowRig &) = delete;
    WindowRig &operator=(const WindowRig &) = delete;

    TestHome home;
    MemoryLink link;
    std::unique_ptr<TestWindow> window;
    std::unique_ptr<ScriptedModule> module; // the module on the line, once one is attached

    TestWindow &w() { return *window; }
    // The program started again on the same folder and line.
    void restart()
    {
        window.reset();
        window = std::make_unique<TestWindow>(nullptr, &link);
        window->show();
    }

    // A module of `type` on the line, master (1) or slave (0), of firmware `version` (its own
    // value when negative); the one attached before falls silent.
    ScriptedModule &attach(int type, int master = 1, int version = -1)
    {
        if (module) module->answer = false;
        module = std::make_unique<ScriptedModule>(link, type, master);
        if (version >= 0)
            module->memory[size_t(ModuleTypes::info(type == 7 ? 0 : type)->versionSlot)] = version;
        return *module;
    }
    std::vector<int> &memory() { return module->memory; }

    // "Verbinden" with the attached module (or a new one of `type`) announcing itself: true once
    // the read has ended and the window offers everything again.
    [[nodiscard]] bool read()
    {
        w().Command1->click();
        module->announce();
        // Waited for in steps that keep handling events (a read answers hundreds of lines; a
        // wait that sleeps between its looks would take seconds).
        QDeadlineTimer deadline(10000);
        while (w().conversation().isRunning() && !deadline.hasExpired())
            QTest::qWait(5);
        return w().Text1->text() == QLatin1String("Edit mode") && w().isIdle();
    }
    [[nodiscard]] bool read(int type, int master = 1, int version = -1)
    {
        attach(type, master, version);
        return read();
    }

    // A folder inside the rig's folder ("" the rig's folder itself, ending in "/").
    QString folder(const char *name) const
    {
        return *name ? home.file(QString::fromUtf8(name)) : home.path();
    }
    // A module file of `type` holding `image`, written into the rig's folder (`name` may lead into
    // a folder inside it); its path.
    QString writeFile(int type, const ModuleImage &image,
                      const QString &name = QStringLiteral("klant.QV1")) const
    {
        const QString path = home.file(name);
        return writeModuleFile(path, type, image).ok() ? path : QString();
    }
    // The file written and opened by the window, as the open dialog and the recent files open one.
    [[nodiscard]] bool openFile(int type, const ModuleImage &image,
                                const QString &name = QStringLiteral("klant.QV1"))
    {
        const QString path = writeFile(type, image, name);
        return !path.isEmpty() && w().openModuleFile(path);
    }
    // A customer's module file opened, the window active, as the installer has it in front of
    // them before typing.
    [[nodiscard]] bool openActive(int type, const ModuleImage &image)
    {
        return openFile(type, image) && Typing::activate(window.get());
    }
    // "Module Openen ...": picks `fileName` in the dialog's file list (when it is there) and
    // presses "Openen".
    void openThroughDialog(const QString &fileName)
    {
        QTimer::singleShot(0, window.get(), [this, fileName] {
            auto *dialog = w().findChild<OpenDialog *>(QStringLiteral("Form2"));
            QVERIFY(dialog);
            auto *files = byName<FileList>(dialog, "File1");
            const auto items = files->findItems(fileName, Qt::MatchExactly);
            if (!items.isEmpty()) {
                files->setCurrentItem(items.first());
                Q_EMIT files->itemClicked(items.first());
            }
            byName<QPushButton>(dialog, "Command1")->click();
            if (dialog->isVisible()) dialog->reject();
        });
        w().openen_Click();
    }
    // "Module Opslaan als ...": the name typed into the save dialog, then "Opslaan".
    void saveAs(const QString &name)
    {
        QTimer::singleShot(0, window.get(), [this, name] {
            auto *dialog = w().findChild<SaveDialog *>(QStringLiteral("Form3"));
            QVERIFY(dialog);
            byName<QLineEdit>(dialog, "Text1")->setText(name);
            byName<QPushButton>(dialog, "Command1")->click();
            if (dialog->isVisible()) dialog->reject();
        });
        w().Bewaren_als_Click();
    }

    // The diagnostics panel opened, then a test started with its Start button (Command6 scan,
    // Command17 monitor, Command19 output test); the module announces itself.
    void startTest(const char *start)
    {
        w().Command12->click();
        byName<QPushButton>(w().Frame10, start)->click();
        module->announce();
    }

    // A module file's bytes spelt out: the type, then one value a line, slot 0 first, each number
    // between two spaces and each line ended by CR LF (" 1 \r\n 3 \r\n 10 \r\n...").
    static QByteArray fileBytes(int type, const ModuleImage &image)
    {
        QByteArray bytes = " " + QByteArray::number(type) + " \r\n";
        for (int slot = 0; slot < image.size(); ++slot)
            bytes += " " + QByteArray::number(image.value(slot)) + " \r\n";
        return bytes;
    }

    QAction *action(const char *name) const { return window->find<QAction>(name); }
    // The bytes of a file, "<missing>" when it cannot be read.
    static QByteArray bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};
