// The kept catalogue file: what goes in comes back (trees, index, header), and whatever else is
// offered to the loader (foreign, old, truncated, damaged, or well sealed but inconsistent) is
// refused with its reason and leaves the catalogue as it was.
#include "CatalogueFixture.h"

#include "catalogue/store/KeptCatalogue.h"

#include <QTemporaryDir>
#include <cstring>

namespace {

class KeptCatalogueTest : public CatalogueFixture
{
protected:
    void SetUp() override { startStore(); }

    // Trees as a scan of C: and D: leaves them, with accents and a name that needs UTF-16.
    void fillStore()
    {
        AddFolderToTree(cat, mtBMP, "C:\\Photos\\2000\\");
        AddFolderToTree(cat, mtALL, "C:\\Photos\\2000\\");
        AddFolderToTree(cat, mtJPG, "C:\\Photos\\Été\\");
        AddFolderToTree(cat, mtALL, "C:\\Photos\\Été\\");
        AddFolderToTree(cat, mtWAV, "D:\\Ελλάδα\\sons\\");
        AddFolderToTree(cat, mtALL, "D:\\Ελλάδα\\sons\\");
        AddFolderToTree(cat, mtALL, "D:\\");
    }

    void fillIndex(ScanIndex &index)
    {
        index.setEnabledExtensions(app.st.CatalogueState.EnabledExtensions);
        index.beginRoot("C:\\");
        const uint32_t root = index.beginFolder(u"", 0);
        const uint32_t photos = index.beginFolder(u"Photos", 1000000007);
        const uint32_t y2000 = index.beginFolder(u"2000", 2000000009);
        index.addFile(u"a.bmp", 5, 3);
        index.endFolder(y2000);
        index.addFile(u"top.bmp", 12, 3);
        const uint32_t ete = index.beginFolder(u"Été", 3, ScanIndex::Unreadable);
        index.endFolder(ete);
        index.endFolder(photos);
        index.endFolder(root);
        index.beginRoot("D:\\");
        const uint32_t d = index.beginFolder(u"", 42);
        index.addFile(u"chanson.wav", 1234567890123, 6);
        index.endFolder(d);
    }

    KeptHeader header() const
    {
        KeptHeader h;
        h.programVersion = KeptProgramVersion();
        h.madeMsecs = 1796911380000;
        h.scanDrives = false;
        h.folder = "C:\\Photos";
        h.enabledExtensions = app.st.CatalogueState.EnabledExtensions;
        h.startScanC = "C:\\Data";
        h.drives.push_back({QChar('C'), "/srv/c", "1A2B3C4D", 3, true, 2, 17});
        h.drives.push_back({QChar('D'), "/srv/d", "00000001", 5, false, 0, 0});
        return h;
    }

    QByteArray encoded()
    {
        fillStore();
        ScanIndex index;
        fillIndex(index);
        return EncodeKeptCatalogue(header(), cat.store, index);
    }

    // Everything the index holds, as text.
    static QStringList describe(const ScanIndex &index)
    {
        QStringList out;
        for (const ScanIndex::Root &r : index.roots())
            out << "root " + r.path + " " + QString::number(r.folder);
        for (const ScanIndex::Folder &f : index.folders()) {
            QString line = index.nameOf(f.name) + " end " + QString::number(f.end) + " t " +
                           QString::number(f.timeNs) + " flags " + QString::number(f.flags) + ":";
            for (uint32_t i = 0; i < f.fileCount; ++i) {
                const ScanIndex::File &file = index.files()[f.firstFile + i];
                line += " " + index.nameOf(file.name) + "=" + QString::number(file.size);
            }
            out << line;
        }
        return out;
    }

    QStringList allShapes() const
    {
        QStringList out;
        for (MediaType t : kAllTypes)
            out << QString::number(code(t)) + ": " + shape(t).join(" | ");
        return out;
    }

    // Decodes and adopts into a fresh store and index: the reason of a refusal, empty when taken.
    static QString refusal(const QByteArray &data)
    {
        auto kept = DecodeKeptCatalogue(data);
        if (!kept)
            return kept.error().message;
        CatalogueStore store;
        ScanIndex index;
        QString why;
        if (!kept->adoptInto(store, index, &why))
            return why.isEmpty() ? QStringLiteral("refused") : why;
        return {};
    }
};

// The offset of the first node record in an encoding of this fixture: found by looking for it.
qsizetype offsetOf(const QByteArray &data, const CatalogueStore::Node &node)
{
    return data.indexOf(QByteArray(reinterpret_cast<const char *>(&node), sizeof node));
}

} // namespace

TEST_F(KeptCatalogueTest, RoundTripGivesBackTreesIndexAndHeader)
{
    fillStore();
    ScanIndex index;
    fillIndex(index);
    const QStringList shapes = allShapes();
    const QStringList described = describe(index);
    const QString path = tmp.path() + "/cache/catalogue";
    ASSERT_TRUE(SaveKeptCatalogue(path, header(), cat.store, index).ok());

    auto kept = LoadKeptCatalogue(path);
    ASSERT_TRUE(kept.ok()) << qPrintable(kept.error().message);
    const KeptHeader &h = kept->header;
    EXPECT_EQ(h.formatVersion, KeptCatalogue::kFormatVersion);
    EXPECT_EQ(h.programVersion, KeptProgramVersion());
    EXPECT_EQ(h.madeMsecs, 1796911380000);
    EXPECT_FALSE(h.scanDrives);
    EXPECT_EQ(h.folder, "C:\\Photos");
    EXPECT_EQ(h.enabledExtensions, app.st.CatalogueState.EnabledExtensions);
    EXPECT_EQ(h.startScanC, "C:\\Data");
    ASSERT_EQ(h.drives.size(), 2u);
    EXPECT_EQ(h.drives[0].letter, QChar('C'));
    EXPECT_EQ(h.drives[0].nativeRoot, "/srv/c");
    EXPECT_EQ(h.drives[0].serial, "1A2B3C4D");
    EXPECT_EQ(h.drives[0].fileBytes, 17);
    EXPECT_EQ(h.drives[1].driveType, 5);
    EXPECT_FALSE(h.drives[1].scanned);

    // Into the fixture's own store, emptied first: the trees come back node for node.
    ResetCatalogueStore(cat);
    ASSERT_NE(allShapes(), shapes);
    ScanIndex loaded;
    QString why;
    ASSERT_TRUE(kept->adoptInto(cat.store, loaded, &why)) << qPrintable(why);
    EXPECT_EQ(allShapes(), shapes);
    EXPECT_EQ(describe(loaded), described);
    EXPECT_EQ(loaded.enabledExtensions(), app.st.CatalogueState.EnabledExtensions);
    EXPECT_EQ(loaded.findRoot("D:\\"), 1);
    // The adopted store keeps working as a store: a folder added goes to its place.
    AddFolderToTree(cat, mtBMP, "C:\\Photos\\1999\\");
    EXPECT_EQ(mediaFolders(mtBMP), (QStringList{"C:\\Photos\\1999\\", "C:\\Photos\\2000\\"}));
    EXPECT_EQ(cat.store.findChild(node(mtJPG, "C:\\Photos\\"), u"Été"), node(mtJPG, "C:\\Photos\\Été\\"));
    EXPECT_EQ(loaded.nameOf(loaded.folder(3).name), "Été");

    // An empty catalogue round-trips too.
    ResetCatalogueStore(cat);
    const QByteArray empty = EncodeKeptCatalogue(KeptHeader(), cat.store, ScanIndex());
    EXPECT_EQ(refusal(empty), QString());
}

TEST_F(KeptCatalogueTest, ForeignOldTruncatedAndDamagedFilesAreRefusedWithTheirReason)
{
    const QByteArray good = encoded();
    ASSERT_EQ(refusal(good), QString());

    EXPECT_TRUE(refusal("").contains("not a catalogue"));
    EXPECT_TRUE(refusal("[Lumavista]\nIcon_Style=1\n").contains("not a catalogue"));
    EXPECT_TRUE(refusal(QByteArray(4096, '\0')).contains("not a catalogue"));

    QByteArray old = good;
    const uint32_t previous = KeptCatalogue::kFormatVersion - 1;
    std::memcpy(old.data() + 8, &previous, 4);
    EXPECT_TRUE(refusal(old).contains(QStringLiteral("format version %1").arg(previous)))
        << qPrintable(refusal(old));

    for (qsizetype cut : {qsizetype(10), qsizetype(30), good.size() / 2, good.size() - 1})
        EXPECT_TRUE(refusal(good.left(cut)).contains("truncated")) << cut;
    EXPECT_TRUE(refusal(good + "x").contains("damaged"));

    // Any byte changed anywhere after the prefix is caught by the checksum.
    for (qsizetype at = 24; at < good.size(); at += 7) {
        QByteArray bad = good;
        bad[at] = char(bad[at] ^ 0x20);
        const QString why = refusal(bad);
        EXPECT_TRUE(why.contains("damaged")) << at << qPrintable(why);
    }

    const auto missing = LoadKeptCatalogue(tmp.path() + "/none");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().kind, platform::Error::Kind::FileOpen);
}

TEST_F(KeptCatalogueTest, SealedButInconsistentArraysAreRefusedByTheStoreAndTheIndex)
{
    const QByteArray good = encoded();
    // A node of the ALL tree to break, found in the encoding by its bytes.
    const NodeId photos = node(mtALL, "C:\\Photos\\");
    ASSERT_NE(photos, kNoNode);
    const CatalogueStore::Node original = cat.store.nodes()[photos];
    const qsizetype at = offsetOf(good, original);
    ASSERT_GT(at, 0);

    const auto withNode = [&](auto change) {
        CatalogueStore::Node n = original;
        change(n);
        QByteArray bad = good;
        std::memcpy(bad.data() + at, &n, sizeof n);
        return refusal(ResealKeptCatalogue(bad));
    };
    EXPECT_EQ(withNode([](CatalogueStore::Node &) {}), QString());
    EXPECT_EQ(withNode([](CatalogueStore::Node &n) { n.parent = 100000; }), "bad parent");
    EXPECT_EQ(withNode([&](CatalogueStore::Node &n) { n.parent = photos; }), "bad parent");
    EXPECT_EQ(withNode([](CatalogueStore::Node &n) { n.name = 99999; }), "bad node");
    EXPECT_EQ(withNode([](CatalogueStore::Node &n) { n.kind = 9; }), "bad node");
    EXPECT_EQ(withNode([](CatalogueStore::Node &n) { n.picture = 18; }), "bad node"); // a Folder's is 14
    EXPECT_EQ(withNode([](CatalogueStore::Node &n) { n.tree = 40; }), "bad node");
    EXPECT_EQ(withNode([](CatalogueStore::Node &n) { n.firstChild = 0x7FFFFFF0; }),
              "child block outside the pool");
    EXPECT_EQ(withNode([](CatalogueStore::Node &n) { n.childCount = 0; }), "node outside every tree");

    // The index: a folder whose end lies before itself, and one past the files.
    ScanIndex index;
    fillIndex(index);
    const ScanIndex::Folder folder = index.folders()[2];
    const qsizetype fat = good.indexOf(QByteArray(reinterpret_cast<const char *>(&folder), sizeof folder));
    ASSERT_GT(fat, 0);
    const auto withFolder = [&](auto change) {
        ScanIndex::Folder f = folder;
        change(f);
        QByteArray bad = good;
        std::memcpy(bad.data() + fat, &f, sizeof f);
        return refusal(ResealKeptCatalogue(bad));
    };
    EXPECT_EQ(withFolder([](ScanIndex::Folder &) {}), QString());
    EXPECT_EQ(withFolder([](ScanIndex::Folder &f) { f.end = 1; }), "folders do not nest");
    EXPECT_EQ(withFolder([](ScanIndex::Folder &f) { f.end = 6; }), "folders do not nest");
    EXPECT_EQ(withFolder([](ScanIndex::Folder &f) { f.fileCount = 50; }), "bad folder");
    EXPECT_EQ(withFolder([](ScanIndex::Folder &f) { f.name = 1000; }), "bad folder");

    // A count that claims more than the file holds is a layout fault, never a large allocation.
    QByteArray huge = good;
    const qsizetype countAt = offsetOf(good, cat.store.nodes()[0]) - 4; // the count precedes the first node
    const uint32_t many = 0x7FFFFFFF;
    std::memcpy(huge.data() + countAt, &many, 4);
    EXPECT_EQ(refusal(ResealKeptCatalogue(huge)), "damaged (layout)");
}

TEST(KeptWriterTest, TheNewestFileAskedForIsTheOneOnTheDiskAndNothingIsLostAtTheEnd)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("cache/catalogue");
    const auto read = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    {
        KeptWriter writer;
        for (int i = 0; i < 20; ++i)
            writer.start(path, QByteArray(100000, char('a' + i)));
        writer.wait();
        EXPECT_EQ(read(), QByteArray(100000, char('a' + 19)));
        writer.start(path, "last");
    } // the destructor writes what was still asked for
    EXPECT_EQ(read(), "last");
    KeptWriter idle;
    idle.wait(); // nothing asked: returns at once
}
