#!/usr/bin/python3
"""The results of the programs as a screen reader reads them, from outside, over AT-SPI.

Each program runs as shipped, in French, its clock fixed at 6 December 2001, 09:05, on an
X server and a private D-Bus session of the test's own (Xvfb, dbus-run-session, which
starts the accessibility bus). For every result, the reader must hear the caption as its
name and the value shown as its text; after a field is changed through the EditableText
interface, the result's text must follow and an object:text-changed:insert event carry
the new value.

    screen_reader_test.py NAME=PROGRAM...

Exits 77 (skipped) where the X server, the session bus or the accessibility bus cannot
start.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
INSIDE = "KAVREL_SCREEN_READER_INSIDE"
CLOCK = "2001-12-06 09:05:00"

# What each program shows at 09:05 on 6 December 2001: the name of a result, its value.
SHOWN = {
    "Farrowel": [("Numéro de jour julien", "2452249,878")],
    "Kestrum": [("Numéro de jour julien à 0 h TU", "2452249,500"),
                ("Temps sidéral de Greenwich à 0 h TU (hh.mmss)", "04,5923")],
    "Dalvoren": [("Numéro de jour julien", "2452249,878"),
                 ("Ascension droite (hh,mmss)", "16,5153"),
                 ("Déclinaison (°, '  \")", "-22,3059"),
                 ("Rotation synodique", "1983"),
                 ("Demi diamètre apparent ('  \")", "16  15,5"),
                 ("Angle aux pôles (°)", "13,93"),
                 ("Latitude du centre (°)", "0,18"),
                 ("Longitude du centre (°)", "57,27")],
    "Brennic": [("Date de début, Numéro de jour julien", "2452249,500"),
                ("Date de début, Rotation synodique", "1983"),
                ("Date de début, Longitude du centre", "62,26"),
                ("Date de fin, Numéro de jour julien", "2452249,500")],
    # The precise ephemeris's disc (the suite's rotation number).
    "Disque": [("Rotation synodique", "1983"),
               ("Demi diamètre apparent, minutes et secondes d'arc", "16  13,5"),
               ("Angle aux pôles P, degrés", "13,93"),
               ("Latitude du centre B0, degrés", "0,18"),
               ("Longitude du centre L0, degrés", "57,25")],
    # A journal of its own, empty: the month of the clock, and the counts asked for.
    "Journal": [("Mois affiché, année", "2001"),
                ("Vérifications", "Comptes : tapez le nombre de groupes g et le nombre de taches f.")],
    # A base of its own, empty: the month of the clock, and what to do first.
    "Reseau": [("Mois affiché, année", "2001"),
               ("État", "La base n'a encore aucune observation : importez un fichier.")],
}

# Disque's photograph: a FITS file of the test's own opened through "Ouvrir une image…" and
# its file dialog; the controls under the photograph and the header's check box, each by
# its name, with the value it shows (text, or a check box's state).
PHOTOGRAPH_SHOWN = [("Valeur des pixels affichés en noir", "100"),
                    ("Valeur des pixels affichés en blanc", "3000")]
PHOTOGRAPH_CHECKED = ["Grille héliographique sur la photographie",
                      "Bord et orientation lus dans l'en-tête du fichier, sinon bord trouvé sur l'image"]
PHOTOGRAPH_ZOOM = "Zoom de la photographie, pour cent"


def write_sun_fits(path):
    """A 16-bit disc of 3000 on a sky of 100, 160 x 120 px, its limb and date in the header."""
    width, height, cx, cy, radius = 160, 120, 80.0, 60.0, 50.0
    cards = ["SIMPLE  =                    T", "BITPIX  =                   16", "NAXIS   =                    2",
             "NAXIS1  = %20d" % width, "NAXIS2  = %20d" % height, "CTYPE1  = 'HPLN-TAN'", "CTYPE2  = 'HPLT-TAN'",
             "CRPIX1  = %20.1f" % (cx + 1), "CRPIX2  = %20.1f" % (cy + 1), "CDELT1  =                 20.0",
             "CDELT2  =                 20.0", "RSUN_OBS= %20.1f" % (20 * radius),
             "DATE-OBS= '2001-12-06T09:05:00'", "END"]
    header = "".join(card.ljust(80) for card in cards)
    header += " " * (-len(header) % 2880)
    data = bytearray()
    for j in range(height):
        for i in range(width):
            value = 3000 if (i - cx) ** 2 + (j - cy) ** 2 < radius ** 2 else 100
            data += value.to_bytes(2, "big", signed=True)
    data += bytes(-len(data) % 2880)
    with open(path, "wb") as file:
        file.write(header.encode("ascii") + bytes(data))


def check_photograph(Atspi, GLib, program, folder, failures):
    """Opens the test's FITS file in Disque, then reads the photograph's controls."""
    import re

    path = os.path.join(folder, "soleil.fits")
    write_sun_fits(path)
    opener = program.named().get("Ouvrir une image…")
    if opener is None or not Atspi.Action.do_action(opener, 0):
        failures.append("Disque: no button « Ouvrir une image… » to press")
        return
    # Qt's file dialog: its one editable field takes the path, its button opens it.
    dialog = {}

    def dialog_up():
        dialog.clear()
        for name, node in program.named(every=True):
            if "EditableText" in node.get_interfaces() and node.get_role() == Atspi.Role.TEXT and \
                    node.get_state_set().contains(Atspi.StateType.FOCUSED):
                dialog["field"] = node
            if node.get_role() == Atspi.Role.PUSH_BUTTON and name.replace("&", "") in ("Ouvrir", "Open"):
                dialog["open"] = node
        return len(dialog) == 2

    if not pump(GLib, dialog_up):
        failures.append("Disque: the file dialog did not show a focused field and its « Ouvrir »: %r" % dialog)
        return
    Atspi.EditableText.set_text_contents(dialog["field"], path)
    Atspi.Action.do_action(dialog["open"], 0)

    def opened():
        controls = program.named()
        return all(caption in controls and text_of(Atspi, controls[caption]) == value
                   for caption, value in PHOTOGRAPH_SHOWN)

    pump(GLib, opened)
    controls = program.named()
    for caption, value in PHOTOGRAPH_SHOWN:
        if caption not in controls or "Text" not in controls[caption].get_interfaces():
            failures.append("Disque: no control named %r with a text" % caption)
        elif text_of(Atspi, controls[caption]) != value:
            failures.append("Disque: %r reads %r, shows %r" % (caption, text_of(Atspi, controls[caption]), value))
    for caption in PHOTOGRAPH_CHECKED:
        if caption not in controls:
            failures.append("Disque: no check box named %r" % caption)
        elif not controls[caption].get_state_set().contains(Atspi.StateType.CHECKED):
            failures.append("Disque: %r is not read as checked" % caption)
    zoom = text_of(Atspi, controls[PHOTOGRAPH_ZOOM]) if PHOTOGRAPH_ZOOM in controls else None
    if zoom is None or not re.fullmatch(r"\d+ %", zoom):
        failures.append("Disque: %r reads %r, not a percentage" % (PHOTOGRAPH_ZOOM, zoom))


# A field set to a new text, and a result that must then read its new value.
CHANGED = {
    "Farrowel": ("Jour", "31", "Numéro de jour julien", "2452274,878"),
    "Kestrum": ("Jour", "31", "Numéro de jour julien à 0 h TU", "2452274,500"),
    "Dalvoren": ("Jour", "31", "Numéro de jour julien", "2452274,878"),
    "Brennic": ("Date de fin, Jour", "31", "Date de fin, Numéro de jour julien", "2452274,500"),
    # L0 of the precise ephemeris for the same instant.
    "Disque": ("Jour", "31", "Longitude du centre L0, degrés", "87,90"),
    # One count typed: the checks ask for the three others.
    "Journal": ("Nord, f", "5", "Vérifications",
                "g nord : tapez le nombre de groupes.\ng sud : tapez le nombre de groupes.\n"
                "f sud : tapez le nombre de taches."),
}


# The Journal's tabs after the month's, each chosen as a reader's user chooses it (the
# tab's own action), on a journal without observer: the k says why there is nothing to
# compare, and no k is chosen for anyone; the regions say why there are none.
TABS = [("Comparaisons", [("k de l'observateur sur ces années",
                           "Ce journal n'a encore aucun observateur : il n'y a rien à comparer."),
                          ("k choisi", "")]),
        ("Régions", [("Régions du mois, source et jours", "Ce journal n'a encore aucun observateur."),
                     ("Numéros des régions", "")])]


def check_tab(Atspi, GLib, program, tab, expected, failures):
    tabs = [node for name, node in program.named(every=True)
            if name and tab in name and node.get_role() == Atspi.Role.PAGE_TAB]
    if not tabs:
        failures.append("Journal: no tab « %s » on the bus" % tab)
        return
    try:
        pressed = Atspi.Action.do_action(tabs[0], 0)
    except GLib.Error as error:
        pressed = False
        failures.append("Journal: the tab « %s » refused its action: %s" % (tab, error.message))
    if not pressed:
        failures.append("Journal: the tab « %s » could not be chosen" % tab)
        return
    controls = {}

    def all_read():
        controls.clear()
        controls.update(program.controls())
        return all(caption in controls and text_of(Atspi, controls[caption]) == value
                   for caption, value in expected)

    pump(GLib, all_read)
    for caption, value in expected:
        if caption not in controls:
            failures.append("Journal: no control named %r with a text; named: %r" % (caption, sorted(controls)))
        elif text_of(Atspi, controls[caption]) != value:
            failures.append("Journal: %r reads %r, shows %r" % (caption, text_of(Atspi, controls[caption]), value))


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


def outside(arguments):
    """Starts the X server, then this script again on a private session bus."""
    if not os.environ.get("KAVREL_LIBFAKETIME"):
        skip("libfaketime is not installed (make deps)")
    for tool in ("Xvfb", "dbus-run-session"):
        if not shutil.which(tool):
            skip(tool + " is not installed (make deps)")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("at-spi2-core is not installed (make deps)")
    try:
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi  # noqa: F401
    except (ImportError, ValueError) as error:
        skip("no Atspi bindings for " + sys.executable + ": " + str(error))

    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as displays:
        display = displays.readline().strip()
    if not display:
        xvfb.wait()
        skip("Xvfb did not start")
    try:
        environment = dict(os.environ, DISPLAY=":" + display, **{INSIDE: "1"})
        environment.pop("DBUS_SESSION_BUS_ADDRESS", None)
        environment.pop("AT_SPI_BUS_ADDRESS", None)
        run = subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__)] + arguments,
                             env=environment, timeout=300)
        return run.returncode
    finally:
        xvfb.terminate()
        xvfb.wait()


class Program:
    """One program started on the test's display, its clock fixed, read through AT-SPI."""

    def __init__(self, Atspi, GLib, name, path):
        self.Atspi = Atspi
        self.GLib = GLib
        self.name = name
        environment = dict(os.environ, LC_ALL="fr_FR.UTF-8", LANGUAGE="fr", QT_QPA_PLATFORM="xcb",
                           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", FAKETIME_DONT_FAKE_MONOTONIC="1")
        # The journal's file in a folder of the test's own, never the user's.
        self.data = tempfile.mkdtemp(prefix="kavrel-screen-reader-")
        environment["XDG_DATA_HOME"] = self.data
        # libfaketime sets the clock, preloaded ahead of a sanitized build's runtime.
        environment["LD_PRELOAD"] = os.environ["KAVREL_LIBFAKETIME"]
        environment["FAKETIME"] = "@" + CLOCK
        environment["ASAN_OPTIONS"] = ":".join(
            filter(None, ["verify_asan_link_order=0", os.environ.get("ASAN_OPTIONS")]))
        # In a group of its own, so that whatever it starts goes with it.
        self.process = subprocess.Popen([path], env=environment, start_new_session=True)
        self.application = None

    def close(self):
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        self.process.wait()
        shutil.rmtree(self.data, ignore_errors=True)

    def find(self, seconds=30):
        desktop = self.Atspi.get_desktop(0)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and self.process.poll() is None:
            for i in range(desktop.get_child_count()):
                try:
                    child = desktop.get_child_at_index(i)
                    if child is not None and child.get_name() == self.name:
                        self.application = child
                        return True
                except self.GLib.Error:
                    pass  # the program tested before, still leaving the bus
            time.sleep(0.2)
        return False

    def named(self, every=False):
        """Every control by its accessible name, the first of a name (or all pairs)."""
        pairs = []

        def walk(node):
            for i in range(node.get_child_count()):
                child = node.get_child_at_index(i)
                if child is None:
                    continue
                pairs.append((child.get_name(), child))
                walk(child)

        walk(self.application)
        if every:
            return pairs
        found = {}
        for name, node in pairs:
            found.setdefault(name, node)
        return found

    def controls(self):
        """Every control that has a text interface, by its accessible name."""
        found = {}

        def walk(node):
            for i in range(node.get_child_count()):
                child = node.get_child_at_index(i)
                if child is None:
                    continue
                if "Text" in child.get_interfaces():
                    found.setdefault(child.get_name(), child)
                walk(child)

        walk(self.application)
        return found


def text_of(Atspi, control):
    return Atspi.Text.get_text(control, 0, -1)


def pump(GLib, until, seconds=10):
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        if until():
            return True
        time.sleep(0.05)
    return until()


def inside(arguments):
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib

    try:
        Atspi.get_desktop(0).get_child_count()
    except GLib.Error as error:
        skip("the accessibility bus did not start: " + error.message)

    inserted = []  # (name of the source, text inserted)

    def heard(event):
        try:
            inserted.append((event.source.get_name(), event.any_data))
        except GLib.Error:
            pass

    # Registered before any program starts, so that each learns at start that a reader
    # listens for text changes.
    listener = Atspi.EventListener.new(heard)
    listener.register("object:text-changed:insert")

    failures = []
    for argument in arguments:
        name, path = argument.split("=", 1)
        program = Program(Atspi, GLib, name, path)
        try:
            if not program.find():
                failures.append(name + ": not found on the accessibility bus")
                continue
            # Each result, found by the caption a reader says, reads the value shown.
            expected = SHOWN[name]
            controls = {}

            def all_read():
                controls.clear()
                controls.update(program.controls())
                return all(caption in controls and text_of(Atspi, controls[caption]) == value
                           for caption, value in expected)

            pump(GLib, all_read)
            for caption, value in expected:
                if caption not in controls:
                    failures.append("%s: no control named %r with a text; named: %r" % (name, caption, sorted(controls)))
                elif text_of(Atspi, controls[caption]) != value:
                    failures.append("%s: %r reads %r, shows %r" % (name, caption, text_of(Atspi, controls[caption]), value))

            if name not in CHANGED:
                continue
            field, typed, caption, value = CHANGED[name]
            if field not in controls or caption not in controls:
                failures.append("%s: %r or %r missing" % (name, field, caption))
                continue
            del inserted[:]
            if not Atspi.EditableText.set_text_contents(controls[field], typed):
                failures.append("%s: %r refused %r" % (name, field, typed))
                continue
            result = controls[caption]
            if not pump(GLib, lambda: text_of(Atspi, result) == value and (caption, value) in inserted):
                failures.append("%s: after %s = %s, %r reads %r; text inserted: %r"
                                % (name, field, typed, caption, text_of(Atspi, result), inserted))
            if name == "Disque":
                with tempfile.TemporaryDirectory() as folder:
                    check_photograph(Atspi, GLib, program, folder, failures)
            if name == "Journal":
                for tab, expected in TABS:
                    check_tab(Atspi, GLib, program, tab, expected, failures)
        finally:
            program.close()
    listener.deregister("object:text-changed:insert")

    for failure in failures:
        print("FAIL: " + failure)
    print("%d programs, %d failures" % (len(arguments), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(inside(sys.argv[1:]) if os.environ.get(INSIDE) else outside(sys.argv[1:]))
