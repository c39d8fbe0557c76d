"""The files a user would have on drive C:, made by ImageMagick, sox and ffmpeg. The animated cursor
and the tune are written here, and the metafiles are the project's fuzz seeds: no common tool writes
them."""
import shutil
import struct
import subprocess
from pathlib import Path

SEEDS = Path(__file__).resolve().parents[2] / "fuzz" / "corpus"
FOLDER = "Médias"
OTHER_FOLDER = "Photos"
# Two folders for the commands that follow a dialog.
IMAGES_FOLDER = "Images"
SOUNDS_FOLDER = "Sons"
# One file of each of the seven later types, made by ImageMagick, cwebp and ffmpeg.
LATER_FOLDER = "Récents"

# Name -> the viewer page that shows it.
FILES = {
    "photo.bmp": "BMP",
    "anim.gif": "GIF",
    "Été.jpg": "JPG",
    "image.pcx": "PCX",
    "scan.tif": "TIF",
    "icone.ico": "ICO",
    "curseur.ani": "ANI",
    "bip.wav": "WAV",
    "air.mid": "MID",
    "clip.avi": "AVI",
    "dessin.wmf": "WMF",
    "plan.emf": "EMF",
}
OTHER_FILES = {"vacances.bmp": "BMP"}
# Name -> its type's code, in the types' order.
LATER_FILES = {
    "transparent.png": "PNG",
    "paysage.webp": "WEBP",
    "chanson.mp3": "MP3",
    "chant.opus": "OGG",
    "morceau.flac": "FLAC",
    "film.mp4": "MP4",
    "film.webm": "MKV",
}
LATER_TYPES = list(LATER_FILES.values())
# The tabs a scan of drive C: shows: TOUS, the twelve alphabetically, then the later seven in their order.
TABS_AFTER_SCAN = ["TOUS"] + sorted(set(FILES.values())) + LATER_TYPES
# The MP3's length as ffprobe would give it is read back by the scenario; this is what it was made to last.
MP3_SECONDS = 2
NOT_MEDIA = ["notes.txt"]


def _convert():
    # The real ImageMagick, not whatever else may be first on PATH.
    for c in ("/usr/bin/convert", shutil.which("convert")):
        if c and Path(c).exists():
            return c
    raise RuntimeError("ImageMagick's convert is missing (scripts/install-deps)")


def _chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def _ani(frames):
    """An animated cursor (RIFF ACON) whose frames are icon files."""
    header = struct.pack("<9I", 36, len(frames), len(frames), 0, 0, 0, 0, 10, 1)  # 1: icon frames
    fram = b"fram" + b"".join(_chunk(b"icon", f) for f in frames)
    body = b"ACON" + _chunk(b"anih", header) + _chunk(b"LIST", fram)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def _midi():
    """A one-track tune: two notes."""
    events = bytes([0x00, 0xC0, 0x00,  # piano
                    0x00, 0x90, 60, 80, 0x60, 0x80, 60, 0,
                    0x00, 0x90, 64, 80, 0x60, 0x80, 64, 0,
                    0x00, 0xFF, 0x2F, 0x00])
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(events)) + events)


def make(drive_c: Path):
    media = drive_c / FOLDER
    other = drive_c / OTHER_FOLDER
    images = drive_c / IMAGES_FOLDER
    sounds = drive_c / SOUNDS_FOLDER
    later = drive_c / LATER_FOLDER
    for folder in (media, other, images, sounds, later):
        folder.mkdir(parents=True)
    cv = _convert()
    ff = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error"]
    tone = ["-f", "lavfi", "-i", f"sine=frequency=440:duration={MP3_SECONDS}"]
    jobs = [
        [cv, "-size", "64x48", "gradient:red-blue", str(media / "photo.bmp")],
        [cv, "-size", "32x32", "xc:red", "xc:lime", "xc:blue", "-set", "delay", "20", "-loop", "0",
         str(media / "anim.gif")],
        [cv, "-size", "80x60", "gradient:yellow-green", str(media / "Été.jpg")],
        [cv, "-size", "40x30", "xc:orange", str(media / "image.pcx")],
        [cv, "-size", "40x30", "gradient:white-black", str(media / "scan.tif")],
        [cv, "-size", "32x32", "xc:yellow", str(media / "icone.ico")],
        [cv, "-size", "32x32", "xc:red", str(media / "f1.ico")],
        [cv, "-size", "32x32", "xc:blue", str(media / "f2.ico")],
        # Zoomed and shown full screen: big enough to measure on a screenshot.
        [cv, "-size", "240x160", "xc:skyblue", str(other / "vacances.bmp")],
        [cv, "-size", "30x20", "xc:red", str(images / "rouge.bmp")],
        [cv, "-size", "30x20", "xc:lime", str(images / "vert.jpg")],
        ["sox", "-n", "-r", "8000", "-c", "1", "-b", "8", str(sounds / "court.wav"), "synth", "0.3", "sine", "300"],
        ["sox", "-n", "-r", "8000", "-c", "1", "-b", "8", str(sounds / "tonalite.wav"), "synth", "0.5", "sine",
         "440"],
        ["sox", "-n", "-r", "22050", "-c", "1", "-b", "16", str(media / "bip.wav"), "synth", "1", "sine", "440"],
        ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-f", "lavfi", "-i",
         "testsrc=size=160x120:rate=10:duration=1", "-c:v", "mpeg4", "-q:v", "5", str(media / "clip.avi")],
        # A red disc on a see-through ground: the page colour shows around it.
        [cv, "-size", "60x40", "xc:none", "-fill", "red", "-draw", "circle 30,20 30,8", str(later / "transparent.png")],
        [cv, "-size", "64x48", "gradient:cyan-magenta", str(later / "paysage.webp")],
        ff + tone + ["-c:a", "libmp3lame", "-b:a", "64k", str(later / "chanson.mp3")],
        ff + tone + ["-c:a", "libopus", str(later / "chant.opus")],
        ff + tone + ["-c:a", "flac", str(later / "morceau.flac")],
        ff + ["-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=1", "-c:v", "libx264", "-pix_fmt",
              "yuv420p", str(later / "film.mp4")],
        ff + ["-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=1", "-c:v", "libvpx-vp9", "-b:v", "200k",
              str(later / "film.webm")],
    ]
    # Side by side: the slowest tool sets the time.
    procs = [(j, subprocess.Popen(j, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)) for j in jobs]
    for job, p in procs:
        _, err = p.communicate(timeout=60)
        if p.returncode != 0:
            raise RuntimeError(f"{' '.join(job)} failed: {err.decode(errors='replace')}")
    frames = [(media / n).read_bytes() for n in ("f1.ico", "f2.ico")]
    for n in ("f1.ico", "f2.ico"):
        (media / n).unlink()
    (media / "curseur.ani").write_bytes(_ani(frames))
    (media / "air.mid").write_bytes(_midi())
    shutil.copyfile(SEEDS / "wmf" / "shapes.wmf", media / "dessin.wmf")
    shutil.copyfile(SEEDS / "emf" / "shapes.emf", media / "plan.emf")
    (media / "notes.txt").write_text("pas un média\n")
    return media
