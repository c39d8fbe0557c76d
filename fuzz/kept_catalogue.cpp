// link: luma_catalogue
// The kept catalogue's loader: any bytes, as read, and once more sealed with a right size and
// checksum so that the parser and the store's and index's checks are reached. Whatever is taken must
// behave as a catalogue: every node reachable, every folder's children walkable, a folder added, and
// written out again it reads back.
#include "catalogue/store/KeptCatalogue.h"

#include <cstddef>
#include <cstdint>

namespace {

void exercise(const QByteArray &bytes)
{
    auto kept = DecodeKeptCatalogue(bytes);
    if (!kept)
        return;
    const KeptHeader header = kept->header;
    CatalogueStore store;
    ScanIndex index;
    QString why;
    if (!kept->adoptInto(store, index, &why))
        return;
    for (MediaType t : kAllTypes) {
        store.forEachNode(t, [&](NodeId n) {
            if (store.pathOf(n).size() < 0 || store.row(n) < 0 || store.selectedPicture(n) > 19)
                __builtin_trap();
        });
        if (store.root(t) != kNoNode)
            store.addFolder(t, u"C:\\Photos\\2000\\", 3);
    }
    for (const ScanIndex::Root &root : index.roots()) {
        const ScanIndex::Folder &top = index.folder(root.folder);
        for (uint32_t c = root.folder + 1; c < top.end; c = index.folder(c).end)
            if (index.nameOf(index.folder(c).name).size() < 0)
                __builtin_trap();
    }
    if (!DecodeKeptCatalogue(EncodeKeptCatalogue(header, store, index)).ok())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    exercise(bytes);
    exercise(ResealKeptCatalogue(bytes));
    return 0;
}
