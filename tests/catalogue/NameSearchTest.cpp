// The search over the catalogue's index, on its own thread: results per type, in natural order, with
// their folders; a later search overtakes an earlier one; narrowing and deleting keep the results
// exactly what a fresh search gives.
#include "catalogue/search/NameSearch.h"
#include "catalogue/store/ScanIndex.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

using search::NameSearch;
using search::Results;

namespace {

// C:\ holding Photos\2003\ and Sons\, D:\ holding Été\ ; Vide\ has no media file.
ScanIndex makeIndex()
{
    ScanIndex index;
    index.beginRoot("C:\\");
    const uint32_t c = index.beginFolder(u"", 0);
    index.addFile(u"racine 1.bmp", 10, code(mtBMP));
    const uint32_t photos = index.beginFolder(u"Photos", 0);
    const uint32_t y2003 = index.beginFolder(u"2003", 0);
    index.addFile(u"photo 10.jpg", 100, code(mtJPG));
    index.addFile(u"photo 2.jpg", 20, code(mtJPG));
    index.addFile(u"Photo 1.bmp", 1, code(mtBMP));
    index.endFolder(y2003);
    index.endFolder(photos);
    const uint32_t empty = index.beginFolder(u"Vide", 0);
    index.endFolder(empty);
    const uint32_t sons = index.beginFolder(u"Sons", 0);
    index.addFile(u"été photo.wav", 5, code(mtWAV));
    index.addFile(u"Ελλάδα.wav", 6, code(mtWAV));
    index.endFolder(sons);
    index.endFolder(c);
    index.beginRoot("D:\\");
    const uint32_t d = index.beginFolder(u"", 0);
    const uint32_t ete = index.beginFolder(u"Été", 0);
    index.addFile(u"photo 2.jpg", 22, code(mtJPG));
    index.endFolder(ete);
    index.endFolder(d);
    index.settle();
    return index;
}

class NameSearchTest : public ::testing::Test
{
protected:
    NameSearchTest() : index(makeIndex()), engine(index) {}

    // The results as "folder+name" texts, from the thread as the list receives them.
    QStringList found(const QString &query, MediaType type = mtALL)
    {
        std::shared_ptr<const Results> got;
        const auto connection = QObject::connect(
            &engine, &NameSearch::found, [&got](const std::shared_ptr<const Results> &r) { got = r; });
        engine.start(query, type);
        QElapsedTimer timer;
        timer.start();
        while (!got && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QObject::disconnect(connection);
        return got ? texts(*got) : QStringList{"(none)"};
    }
    QStringList texts(const Results &r) const
    {
        QStringList out;
        for (uint32_t f : r.files)
            out << engine.folderOf(f) + index.nameOf(index.files()[f].name);
        return out;
    }

    ScanIndex index;
    NameSearch engine;
};

} // namespace

TEST_F(NameSearchTest, FindsEveryTypeOnTheAllTabInNaturalOrderWithTheirFolders)
{
    EXPECT_EQ(found("photo").join('|').toStdString(),
              "C:\\Sons\\été photo.wav|C:\\Photos\\2003\\Photo 1.bmp|C:\\Photos\\2003\\photo 2.jpg|"
              "D:\\Été\\photo 2.jpg|C:\\Photos\\2003\\photo 10.jpg");
    EXPECT_EQ(found("ete").join('|').toStdString(), "C:\\Sons\\été photo.wav");
    EXPECT_EQ(found("ελλαδα").join('|').toStdString(), "C:\\Sons\\Ελλάδα.wav");
    EXPECT_EQ(found("*.bmp").join('|').toStdString(), "C:\\Photos\\2003\\Photo 1.bmp|C:\\racine 1.bmp");
    EXPECT_EQ(found("nothing like it").size(), 0);
}

TEST_F(NameSearchTest, ATypeTabFindsThatTypeOnly)
{
    EXPECT_EQ(found("photo", mtJPG).join('|').toStdString(),
              "C:\\Photos\\2003\\photo 2.jpg|D:\\Été\\photo 2.jpg|C:\\Photos\\2003\\photo 10.jpg");
    EXPECT_EQ(found("photo", mtWAV).join('|').toStdString(), "C:\\Sons\\été photo.wav");
    EXPECT_EQ(found("photo", mtGIF).size(), 0);
}

TEST_F(NameSearchTest, NarrowingGivesWhatAFreshSearchGives)
{
    // Typed letter by letter: each search may look only among the last results.
    for (const char *q : {"p", "ph", "pho", "phot", "photo", "photo ", "photo 2", "photo 2.", "photo 2.j"})
        found(q);
    const QStringList narrowed = found("photo 2.jp");
    NameSearch fresh(index);
    const auto direct = fresh.runNow("photo 2.jp", mtALL);
    ASSERT_TRUE(direct);
    EXPECT_EQ(narrowed, texts(*direct));
    EXPECT_EQ(narrowed.size(), 2);
    // A narrower type after ALL, and a wider query after a narrow one.
    EXPECT_EQ(found("photo 2", mtJPG).size(), 2);
    EXPECT_EQ(found("photo", mtALL).size(), 5);
}

TEST_F(NameSearchTest, ALaterSearchOvertakesAnEarlierOne)
{
    std::vector<std::shared_ptr<const Results>> delivered;
    QObject::connect(&engine, &NameSearch::found,
                     [&delivered](const std::shared_ptr<const Results> &r) { delivered.push_back(r); });
    engine.start("photo", mtALL);
    engine.start("ete", mtALL);
    const uint64_t last = engine.start("wav", mtALL);
    QElapsedTimer timer;
    timer.start();
    while (delivered.empty() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0]->serial, last);
    EXPECT_EQ(delivered[0]->query.toStdString(), "wav");
    // Cancelled: nothing comes.
    engine.start("photo", mtALL);
    engine.cancel();
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(delivered.size(), 1u);
}

TEST_F(NameSearchTest, ADeletedFileLeavesTheIndexAndTheResults)
{
    ASSERT_EQ(found("photo").size(), 5);
    engine.hold();
    const int64_t gone = index.removeFile("C:\\Photos\\2003\\", u"photo 2.jpg");
    ASSERT_GE(gone, 0);
    engine.fileRemoved(uint32_t(gone));
    EXPECT_EQ(index.removeFile("C:\\Photos\\2003\\", u"photo 2.jpg"), -1);
    EXPECT_EQ(index.removeFile("C:\\Nulle part\\", u"photo 2.jpg"), -1);
    const QStringList after = found("photo");
    EXPECT_EQ(after.join('|').toStdString(), "C:\\Sons\\été photo.wav|C:\\Photos\\2003\\Photo 1.bmp|"
                                             "D:\\Été\\photo 2.jpg|C:\\Photos\\2003\\photo 10.jpg");
    // What was patched equals what a fresh preparation makes.
    NameSearch fresh(index);
    EXPECT_EQ(after, texts(*fresh.runNow("photo", mtALL)));
    EXPECT_EQ(found("1", mtBMP).join('|').toStdString(), "C:\\Photos\\2003\\Photo 1.bmp|C:\\racine 1.bmp");
}

TEST_F(NameSearchTest, ReleaseLetsTheIndexChangeAndTheNextSearchSeesTheNewOne)
{
    ASSERT_EQ(found("photo").size(), 5);
    engine.release();
    index.clear();
    index.beginRoot("E:\\");
    const uint32_t e = index.beginFolder(u"", 0);
    index.addFile(u"photo neuve.gif", 3, code(mtGIF));
    index.endFolder(e);
    EXPECT_EQ(found("photo").join('|').toStdString(), "E:\\photo neuve.gif");
    // An empty index, and an index whose name lookup was released, still take new names.
    index.settle();
    index.beginRoot("F:\\");
    const uint32_t f = index.beginFolder(u"", 0);
    index.addFile(u"photo neuve.gif", 3, code(mtGIF));
    index.addFile(u"autre.gif", 3, code(mtGIF));
    index.endFolder(f);
    EXPECT_EQ(index.files()[1].name, index.files()[0].name);
    engine.release();
    EXPECT_EQ(found("photo").size(), 2);
}

TEST_F(NameSearchTest, PreparedAheadWithoutResultsAndNotGivenUpForTheFirstKeys)
{
    std::vector<std::shared_ptr<const Results>> delivered;
    QObject::connect(&engine, &NameSearch::found,
                     [&delivered](const std::shared_ptr<const Results> &r) { delivered.push_back(r); });
    engine.prepare();
    QTRY_VERIFY_WITH_TIMEOUT(engine.prepared(), 5000);
    QCoreApplication::processEvents();
    EXPECT_TRUE(delivered.empty());
    engine.prepare(); // prepared already: nothing to do
    EXPECT_EQ(found("photo").size(), 5);

    // Keys typed while it prepares wait for it; the last one's results come.
    engine.release();
    EXPECT_FALSE(engine.prepared());
    engine.prepare();
    engine.start("photo", mtALL);
    EXPECT_EQ(found("ete").join('|').toStdString(), "C:\\Sons\\été photo.wav");
    EXPECT_TRUE(engine.prepared());
}

TEST(NameSearchOrderTest, ThousandsOfNamesComeOutInTheComparisonsOwnOrder)
{
    // Names meant to meet every rule at once: case, accents, leading zeros, numbers of every length,
    // names that are prefixes of others, wide names, the same name in several folders.
    const QStringList stems = {"Photo", "photo", "PHOTO", "Été", "ete", "Ελλάδα", "a", "", "img_", "Zoë"};
    ScanIndex index;
    index.beginRoot("C:\\");
    const uint32_t root = index.beginFolder(u"", 0);
    uint32_t seed = 7;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int folder = 0; folder < 40; ++folder) {
        const uint32_t f = index.beginFolder(QStringLiteral("D%1").arg(folder), 0);
        for (int i = 0; i < 60; ++i) {
            QString name = stems[int(next(uint32_t(stems.size())))];
            if (next(2))
                name += QString(int(next(3)), u'0') + QString::number(next(200));
            if (next(3) == 0)
                name += QStringLiteral(" b");
            index.addFile(name + QStringLiteral(".bmp"), 1, code(mtBMP));
        }
        index.endFolder(f);
    }
    index.endFolder(root);
    index.settle();
    NameSearch engine(index);
    const auto all = engine.runNow("*", mtALL);
    ASSERT_TRUE(all);
    ASSERT_EQ(all->files.size(), index.files().size());
    for (size_t i = 1; i < all->files.size(); ++i) {
        const uint32_t a = all->files[i - 1], b = all->files[i];
        const QString na = index.nameOf(index.files()[a].name), nb = index.nameOf(index.files()[b].name);
        const int c = search::naturalCompare(na, nb);
        ASSERT_TRUE(c < 0 || (c == 0 && a < b)) << na.toStdString() << " before " << nb.toStdString();
    }
}

TEST(NameSearchOrderTest, AFolderWhoseFilesAreReplacedSearchesAsAFreshPreparationDoes)
{
    const QStringList stems = {"Photo", "photo", "Été", "ete", "Ελλάδα", "a", "img_", "Zoë"};
    uint32_t seed = 11;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    const auto name = [&] {
        return stems[int(next(uint32_t(stems.size())))] + QString(int(next(2)), u'0') +
               QString::number(next(50)) + QStringLiteral(".bmp");
    };
    // Folders nested two deep, some without files, so that files lie after and before each other.
    ScanIndex index;
    index.beginRoot("C:\\");
    const uint32_t root = index.beginFolder(u"", 0);
    for (int outer = 0; outer < 6; ++outer) {
        const uint32_t o = index.beginFolder(QStringLiteral("O%1").arg(outer), 0);
        for (int i = 0; i < (outer % 3 == 0 ? 0 : 30); ++i)
            index.addFile(name(), 1, code(mtBMP));
        for (int inner = 0; inner < 3; ++inner) {
            const uint32_t in = index.beginFolder(QStringLiteral("I%1").arg(inner), 0);
            for (int i = 0; i < (inner == 1 ? 0 : 20); ++i)
                index.addFile(name(), 2, code(mtBMP));
            index.endFolder(in);
        }
        index.endFolder(o);
    }
    index.endFolder(root);
    index.settle();
    NameSearch engine(index);
    ASSERT_TRUE(engine.runNow("*", mtALL));
    const auto texts = [&index](const NameSearch &e, const Results &r) {
        QStringList out;
        for (uint32_t f : r.files)
            out << e.folderOf(f) + index.nameOf(index.files()[f].name);
        return out;
    };
    // Grown, shrunk, emptied, filled while empty, and with names new to the index.
    const std::vector<std::pair<QString, int>> changes = {
        {"C:\\O1\\", 45},     {"C:\\O2\\I0\\", 3}, {"C:\\O4\\", 0}, {"C:\\O0\\I1\\", 12},
        {"C:\\O5\\I2\\", 20}, {"C:\\O0\\", 1},     {"C:\\", 4}};
    for (const auto &[path, count] : changes) {
        const int64_t folder = index.findFolder(path);
        ASSERT_GE(folder, 0) << path.toStdString();
        std::vector<ScanIndex::ListedFile> listed;
        for (int i = 0; i < count; ++i)
            listed.push_back({i % 4 == 0 ? QStringLiteral("neuf %1.bmp").arg(i) : name(), 3, code(mtBMP)});
        engine.hold();
        const uint32_t first = index.folder(uint32_t(folder)).firstFile;
        const uint32_t before = index.replaceFiles(uint32_t(folder), listed);
        engine.filesReplaced(first, before, uint32_t(listed.size()));
        EXPECT_EQ(index.folder(uint32_t(folder)).fileCount, uint32_t(count));

        NameSearch fresh(index);
        // Single letters are answered from the files' letter masks, which must follow the files too.
        for (const QString &query : {QStringLiteral("*"), QStringLiteral("photo"), QStringLiteral("neuf"),
                                     QStringLiteral("n"), QStringLiteral("z 1")}) {
            const auto patched = engine.runNow(query, mtALL);
            const auto made = fresh.runNow(query, mtALL);
            ASSERT_TRUE(patched && made);
            EXPECT_EQ(patched->files, made->files) << path.toStdString() << " " << query.toStdString();
            EXPECT_EQ(texts(engine, *patched), texts(fresh, *made)) << path.toStdString();
        }
        // The arrays still nest and lie in range as a kept catalogue must.
        NameTable names = index.names();
        ScanIndex copy;
        QString why;
        EXPECT_TRUE(copy.adopt(std::move(names), index.folders(), index.files(), index.roots(), {}, &why))
            << why.toStdString();
    }
    // One name in four of each folder's last listing: 12 + 1 + 0 + 3 + 5 + 1 + 1.
    EXPECT_EQ(engine.runNow("neuf", mtALL)->files.size(), 23u);
}

TEST(NameSearchOrderTest, TheLetterMasksPassOverNoNameTheMatcherTakesAndDecideSingleLettersAlone)
{
    // Names of every kind of unit: cases, accents, digits, Greek, blanks, punctuation, a letter
    // outside Latin-1 (wide names), and a unit beyond the 16 bits (a surrogate pair).
    const QStringList stems = {"Photo", "ÉTÉ",  "zoë", "Ελλάδα", "img_",
                               "a.b",   "Nœud", "x y", "🎵son",   "Ørsted"};
    ScanIndex index;
    index.beginRoot("C:\\");
    const uint32_t root = index.beginFolder(u"", 0);
    uint32_t seed = 5;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 600; ++i) {
        QString name = stems[int(next(uint32_t(stems.size())))];
        if (next(2))
            name += QString::number(next(100));
        if (next(4) == 0)
            name += stems[int(next(uint32_t(stems.size())))].toUpper();
        index.addFile(name + (next(2) ? QStringLiteral(".bmp") : QStringLiteral(".WAV")), 1,
                      next(2) ? code(mtBMP) : code(mtWAV));
    }
    index.endFolder(root);
    index.settle();
    NameSearch engine(index);
    const auto all = engine.runNow("*", mtALL);
    ASSERT_TRUE(all);
    for (const char *q :
         {"e", "E", "é",   "1",       "0",     "z",      "o",     "_", ".",   " ",       "α",
          "œ", "🎵", "e 1", "\"o 1\"", "*.bmp", "ph?to*", "photo", "q", "x y", "\"x y\"", "d"}) {
        const QString query = QString::fromUtf8(q);
        const search::NameMatcher matcher(query);
        for (MediaType type : {mtALL, mtWAV}) {
            std::vector<uint32_t> expected;
            for (uint32_t f : all->files)
                if ((type == mtALL || index.files()[f].type == uint32_t(code(type))) &&
                    matcher.matches(index.nameOf(index.files()[f].name)))
                    expected.push_back(f);
            const auto got = engine.runNow(query, type);
            ASSERT_TRUE(got);
            EXPECT_EQ(got->files, expected) << q << " " << code(type);
        }
    }
    EXPECT_TRUE(search::NameMatcher(u"v").lettersDecide());
    EXPECT_TRUE(search::NameMatcher(u"V 2").lettersDecide());
    EXPECT_FALSE(search::NameMatcher(u"va").lettersDecide());
    EXPECT_FALSE(search::NameMatcher(u"_").lettersDecide()); // its bit is shared
    EXPECT_FALSE(search::NameMatcher(u"?").lettersDecide());
}
