// libFuzzer target: AppBundleReader::parse (XML and binary property lists) on arbitrary bytes.
#include "velmora/discovery/AppBundleReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto item = velmora::AppBundleReader::parse(bytes, QStringLiteral("/A/X.app"));
    if (item && (item->bundleID.isEmpty() || item->displayName.isEmpty()))
        __builtin_trap();
    return 0;
}
