// Opens the shared store the way the app does; the recovery test runs it as a child
// process because a store that cannot be opened ends the process.
#include "velmora/library/DataModel.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    velmora::DataModel::shared();
    std::puts("opened");
    return 0;
}
