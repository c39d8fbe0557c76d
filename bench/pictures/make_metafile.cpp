// make_metafile wmf|emf OUT RECORDS
// Writes a picture of about RECORDS drawing records with libUEMF: rectangles, ellipses,
// polygons, polylines, pies, rounded rectangles, lines and text, with pens and brushes changed
// every few shapes. The same seed gives the same file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <uemf.h>
#include <uemf_utf.h>
#include <uwmf.h>

namespace {

uint32_t seed = 12345;
int rnd(int n)
{
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 8) % uint32_t(n));
}

U_COLORREF colour()
{
    return colorref3_set(uint8_t(rnd(256)), uint8_t(rnd(256)), uint8_t(rnd(256)));
}

// Logical picture: 4000 x 3000 units shown at 800 x 600 pixels.
constexpr int W = 4000, H = 3000;

int writeWmf(const char *path, int records)
{
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    if (wmf_start(path, 1 << 20, 1 << 20, &wt) || wmf_htable_create(64, 64, &wht))
        return 1;
    U_PAIRF size{8.0f, 6.0f}; // inches: 768 x 576 pixels at 96 dpi
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(&size, 500)), wt, 1);
    auto add = [&](char *rec) { wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt, 1); };
    auto pt = [](int x, int y) { return point16_set(int16_t(x), int16_t(y)); };
    add(U_WMRSETWINDOWORG_set(pt(0, 0)));
    add(U_WMRSETWINDOWEXT_set(pt(W, H)));
    char face[] = "Sans";
    U_FONT *font = U_FONT_set(-120, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, face);
    uint32_t fontIndex = 0, pen = 0, brush = 0;
    add(wcreatefontindirect_set(&fontIndex, wht, font));
    std::free(font);
    add(wselectobject_set(fontIndex, wht));
    for (int i = 0; i < records; ++i) {
        const int x = rnd(W - 400), y = rnd(H - 400), w = 20 + rnd(380), h = 20 + rnd(380);
        const U_RECT16 r = U_RECT16_set(pt(x, y), pt(x + w, y + h));
        if (i % 10 == 0) {
            if (pen)
                add(wdeleteobject_set(&pen, wht));
            if (brush)
                add(wdeleteobject_set(&brush, wht));
            add(wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_SOLID, uint16_t(1 + rnd(8)), colour())));
            add(wselectobject_set(pen, wht));
            add(wcreatebrushindirect_set(
                &brush, wht,
                U_WLOGBRUSH_set(rnd(3) ? U_BS_SOLID : U_BS_HATCHED, colour(), uint16_t(rnd(6)))));
            add(wselectobject_set(brush, wht));
            i += 4;
            continue;
        }
        switch (rnd(7)) {
        case 0:
            add(U_WMRRECTANGLE_set(r));
            break;
        case 1:
            add(U_WMRELLIPSE_set(r));
            break;
        case 2: {
            const U_POINT16 p[4] = {pt(x, y), pt(x + w, y + h / 3), pt(x + w / 2, y + h), pt(x, y + h / 2)};
            add(U_WMRPOLYGON_set(4, p));
            break;
        }
        case 3: {
            const U_POINT16 p[3] = {pt(x, y), pt(x + w, y + h), pt(x + w, y)};
            add(U_WMRPOLYLINE_set(3, p));
            break;
        }
        case 4:
            add(U_WMRPIE_set(pt(x + w, y), pt(x, y), r));
            break;
        case 5:
            add(U_WMRROUNDRECT_set(int16_t(w / 4), int16_t(h / 4), r));
            break;
        default: {
            char text[] = "Lumavista";
            add(U_WMRTEXTOUT_set(pt(x, y), text));
            break;
        }
        }
    }
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return 0;
}

int writeEmf(const char *path, int records)
{
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    if (emf_start(path, 1 << 20, 1 << 20, &et) || emf_htable_create(64, 64, &eht))
        return 1;
    auto rect = [](int l, int t, int r, int b) { return rectl_set(pointl_set(l, t), pointl_set(r, b)); };
    auto add = [&](char *rec) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(rec), et, U_REC_FREE); };
    // 800 x 600 pixels of a 96-dpi reference device; frame in hundredths of a millimetre.
    add(U_EMRHEADER_set(rect(0, 0, 799, 599), rect(0, 0, 21167, 15875), nullptr, 0, nullptr,
                        sizel_set(1920, 1080), sizel_set(508, 286), 0));
    add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    add(U_EMRSETWINDOWEXTEX_set(sizel_set(W, H)));
    add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(800, 600)));
    uint32_t pen = 0, brush = 0;
    for (int i = 0; i < records; ++i) {
        const int x = rnd(W - 400), y = rnd(H - 400), w = 20 + rnd(380), h = 20 + rnd(380);
        const U_RECTL r = rect(x, y, x + w, y + h);
        if (i % 10 == 0) {
            if (pen)
                add(deleteobject_set(&pen, eht));
            if (brush)
                add(deleteobject_set(&brush, eht));
            add(createpen_set(&pen, eht, logpen_set(U_PS_SOLID, point32_set(1 + rnd(8), 0), colour())));
            add(selectobject_set(pen, eht));
            add(createbrushindirect_set(&brush, eht,
                                        logbrush_set(rnd(3) ? U_BS_SOLID : U_BS_HATCHED, colour(), rnd(6))));
            add(selectobject_set(brush, eht));
            i += 4;
            continue;
        }
        switch (rnd(6)) {
        case 0:
            add(U_EMRRECTANGLE_set(r));
            break;
        case 1:
            add(U_EMRELLIPSE_set(r));
            break;
        case 2: {
            const U_POINT16 p[4] = {
                point16_set(int16_t(x), int16_t(y)), point16_set(int16_t(x + w), int16_t(y + h / 3)),
                point16_set(int16_t(x + w / 2), int16_t(y + h)), point16_set(int16_t(x), int16_t(y + h / 2))};
            add(U_EMRPOLYGON16_set(r, 4, p));
            break;
        }
        case 3: {
            const U_POINT16 p[4] = {
                point16_set(int16_t(x), int16_t(y)), point16_set(int16_t(x + w), int16_t(y)),
                point16_set(int16_t(x), int16_t(y + h)), point16_set(int16_t(x + w), int16_t(y + h))};
            add(U_EMRPOLYBEZIER16_set(r, 4, p));
            break;
        }
        case 4:
            add(U_EMRPIE_set(r, pointl_set(x + w, y), pointl_set(x, y)));
            break;
        default:
            add(U_EMRROUNDRECT_set(r, sizel_set(w / 4, h / 4)));
            break;
        }
    }
    add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_metafile wmf|emf OUT RECORDS\n");
        return 2;
    }
    const int records = std::atoi(argv[3]);
    if (std::strcmp(argv[1], "wmf") == 0)
        return writeWmf(argv[2], records);
    if (std::strcmp(argv[1], "emf") == 0)
        return writeEmf(argv[2], records);
    return 2;
}
