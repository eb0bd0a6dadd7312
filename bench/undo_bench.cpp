// Memory the undo history holds for 1000 steps of the largest kinds an installer makes on a relay
// module: "Basisfuncties" (40 push-button slots) and a clear-all of 20 first functions, taken in
// turn. Prints the bytes held by the heap before and after, and per step.
#include "history/ImageHistory.h"

#include <QCoreApplication>
#include <cstdio>
#include <malloc.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ModuleState state;
    state.ModuleType = 0;
    ImageHistory history(state);
    constexpr int Steps = 1000;

    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < Steps; ++i) {
        const ModuleImage old = state.RelayImage;
        if (i % 2 == 0) {
            for (int slot = 0; slot < 40; ++slot)
                state.RelayImage.set(slot, (slot + i) % 70);
            history.record(
                EditStep::between({QStringLiteral("Basisfuncties"), QStringLiteral("Fonctions de base")}, 0,
                                  old, state.RelayImage));
        } else {
            for (int slot = 0; slot < 20; ++slot)
                state.RelayImage.set(slot, 42);
            EditStep step = EditStep::between({QStringLiteral("Wissen van alle 1ste functies"),
                                               QStringLiteral("Effacer toutes les 1ères fonctions")},
                                              0, old, state.RelayImage);
            step.clearAllBox = 0;
            history.record(step);
        }
    }
    const size_t after = mallinfo2().uordblks;
    const double held = double(after - before);
    std::printf("undo history: %d steps, %.0f bytes held (%.2f MiB, %.0f bytes per step)\n", history.count(),
                held, held / (1024.0 * 1024.0), held / Steps);
    return 0;
}
