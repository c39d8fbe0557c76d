"""The seven later types in the user's session: their folder, their pages, a see-through PNG over the
page colour and an MP3 that plays with its length shown. Run from scenario.py's Run."""
import re

import media
from desktop import Failure, children, find, name, role, value_of


def show(run, file_name, page):
    run.click_list_item(file_name)
    return run.expect_page(file_name, page)


def later_types(run):
    run.activate()
    run.click_folder(media.LATER_FOLDER)
    run.desk.wait_for("the list to fill", lambda: len(run.list_items()) >= len(media.LATER_FILES), 20)
    items = sorted(name(i) for i in run.list_items())
    run.check(items == sorted(media.LATER_FILES), "the later types' folder lists each of its seven files",
              f"list: {items}")

    # A red disc on a see-through ground: around it the page colour, never black.
    black_before = run.colour_pixels("before-png", "#000000", "1%")
    if show(run, "transparent.png", "PNG"):
        run.desk.pump(0.5)
        red = run.colour_pixels("png-alpha", "#FF0000")
        black = run.colour_pixels("png-alpha-black", "#000000", "1%")
        run.check(red >= 350, "the PNG's red disc is on show", f"{red} red pixels (a disc of radius 12 has 452)")
        run.check(black - black_before < 300, "the see-through ground shows the page colour, not black",
                  f"{black_before} black pixels before, {black} with the PNG")

    for file_name, code in media.LATER_FILES.items():
        if code not in ("PNG", "MP3"):
            show(run, file_name, code)

    if not show(run, "chanson.mp3", "MP3"):
        return
    page = run.named("MP3", roles={"filler", "panel"}, root=run.viewer_stack())
    bar = find(page, lambda o: role(o) == "progress bar") if page is not None else None
    box = find(page, lambda o: role(o) == "panel") if page is not None else None
    labels = [c for c in children(box) if role(c) == "label"] if box is not None else []
    times = [name(c) for c in labels]
    run.check(f"{media.MP3_SECONDS} sec" in times, f"the MP3 page shows its total length, {media.MP3_SECONDS} sec",
              f"labels: {times}")

    def moved():
        return bar is not None and ((value_of(bar) or 0) > 0 or any(
            re.fullmatch(r"[1-9]\d* sec", name(c)) for c in labels[3:]))
    try:
        run.desk.wait_for("the MP3 to play (bar or played time moving)", moved, 15)
        run.check(True, "the MP3 plays on selection (bar or played time moves)")
    except Failure as e:
        run.check(False, "the MP3 plays on selection (bar or played time moves)", str(e))
    stop = run.named("Arrêter la lecture", root=run.viewer_toolbar())
    if stop is not None:
        run.desk.click_on(stop)
