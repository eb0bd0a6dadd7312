#pragma once

#include "app/ModulePage.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "scenes/SceneFrame.h"
#include "support/Find.h"
#include "support/TestWindow.h"

#include <QStringList>

// What the installer has in the main window around the module in hand, as lines of text, so
// that the window before a conversation and after a way out of it can be compared whole.
inline QStringList windowState(TestWindow &w)
{
    const auto shown = [](QWidget *x) {
        return x->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown");
    };
    const auto usable = [](QWidget *x) {
        return x->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled");
    };
    // A caption counts only where it can be seen.
    const auto caption = [](QWidget *x, const QString &text) { return x->isHidden() ? QString() : text; };
    QStringList s;
    s << QStringLiteral("ModuleType %1, MasterFlag %2").arg(w.state().ModuleType).arg(w.state().MasterFlag);
    s << QStringLiteral("Combo1 \"%1\"").arg(w.Combo1->currentText());
    s << QStringLiteral("Frame11 %1 \"%2\"").arg(shown(w.Frame11), w.Frame11->title());
    QLabel *typeLabel = byName<QLabel>(w.Frame11, "Label2");
    s << QStringLiteral("Label2 %1 \"%2\"").arg(shown(typeLabel), caption(typeLabel, typeLabel->text()));
    for (const char *name : {"Command11", "Command13", "Command14", "Command33"}) {
        QPushButton *b = byName<QPushButton>(w.Frame11, name);
        s << QStringLiteral("%1 %2 \"%3\"").arg(b->objectName(), shown(b), caption(b, b->text()));
    }
    // A panel that was never shown is not built yet.
    for (const char *name : {"Frame3", "Frame6", "Frame7", "Frame9", "Frame10", "Frame12"}) {
        QWidget *f = w.findChild<QWidget *>(QLatin1String(name));
        s << QStringLiteral("%1 %2").arg(QLatin1String(name), f ? shown(f) : QStringLiteral("hidden"));
    }
    for (QRadioButton *o : {w.Option1, w.Option2})
        s << QStringLiteral("%1 %2 %3")
                 .arg(o->objectName(), o->isChecked() ? QStringLiteral("checked") : QStringLiteral("clear"),
                      usable(o));
    s << QStringLiteral("Label5 %1 \"%2\"").arg(shown(w.Label5), caption(w.Label5, w.Label5->text()));
    for (QPushButton *b : {w.Command2, w.Command7, w.Command8, w.Command9, w.Command10, w.Command12})
        s << QStringLiteral("%1 %2 %3 \"%4\"")
                 .arg(b->objectName(), shown(b), usable(b), caption(b, b->text()));
    s << QStringLiteral("Bewaren %1, Bewaren_als %2")
             .arg(w.Bewaren->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"),
                  w.Bewaren_als->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"));
    s << QStringLiteral("title \"%1\"").arg(w.windowTitle());
    return s;
}
