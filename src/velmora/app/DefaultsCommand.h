#pragma once

#include <QStringList>

class QTextStream;

namespace kestrelkit {
class DefaultsStore;
}

namespace velmora {

// `velmora defaults read|write|delete KEY [JSON]`. Returns the process exit status:
// 0 done, 1 key not found (read), 2 bad usage or bad JSON (nothing written), 3 write failed.
int runDefaultsCommand(const QStringList &args, kestrelkit::DefaultsStore &store, QTextStream &out,
                       QTextStream &err);

} // namespace velmora
