"""The installed game: `make install` into a staging DESTDIR lists exactly the expected
files, `make uninstall` takes them away again and nothing else, the installed program runs
from a read-only tree, the desktop entry and AppStream metainfo pass Debian's validators,
and the Debian package carries the same files with computed dependencies and installs into
a throwaway root, from which the game starts.

Environment: MC_SOURCE_DIR, MC_BUILD_DIR (a configured and built tree), MC_APP_ID."""

import os
import re
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

SOURCE = os.environ["MC_SOURCE_DIR"]
BUILD = os.environ["MC_BUILD_DIR"]
APP_ID = os.environ["MC_APP_ID"]
GAME = "mahjongcuriomar"
ICON_SIZES = (16, 32, 48, 64, 128, 256)

GAME_FILES = sorted(
    ["bin/" + GAME,
     "share/%s/assets/assets.tvp" % GAME,
     "share/%s/assets/settings.xml" % GAME,
     "share/%s/assets/strings.xml" % GAME,
     "share/applications/%s.desktop" % APP_ID,
     "share/metainfo/%s.metainfo.xml" % APP_ID,
     "share/icons/hicolor/scalable/apps/%s.svg" % APP_ID,
     "share/doc/%s/copyright" % GAME,
     "share/doc/%s/credits.txt" % GAME]
    + ["share/icons/hicolor/%dx%d/apps/%s.png" % (n, n, APP_ID) for n in ICON_SIZES])
SERVER_FILES = ["bin/hiscored", "lib/systemd/system/hiscored.service",
                "share/doc/hiscored/hiscored.example.xml"]
TOOL_FILES = ["bin/lua50", "bin/tvtool"]


def run(args, **kwargs):
    """Runs a command and returns its output; a failure shows what the command said."""
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            **kwargs)
    if result.returncode != 0:
        raise AssertionError("%s failed (%d):\n%s" % (" ".join(args), result.returncode,
                                                      result.stdout))
    return result.stdout


def install(destdir, prefix="/usr/local", component=None):
    """cmake --install into destdir; returns a copy of the manifest it wrote, so that the
    uninstall below does not depend on the build's own manifest staying as it was."""
    args = ["cmake", "--install", BUILD, "--prefix", prefix]
    if component:
        args += ["--component", component]
    run(args, env=dict(os.environ, DESTDIR=destdir))
    manifests = tempfile.mkdtemp(prefix="mc_manifest_")
    name = "install_manifest%s.txt" % ("_" + component if component else "")
    shutil.copy(os.path.join(BUILD, name), os.path.join(manifests, "install_manifest.txt"))
    return manifests


def files_below(root):
    found = []
    for folder, _, names in os.walk(root):
        found += [os.path.relpath(os.path.join(folder, n), root) for n in names]
    return sorted(found)


def snapshot(root):
    """Every path below root with its kind, size, mode and modification time."""
    shot = {}
    for folder, dirs, names in os.walk(root):
        for name in dirs + names:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            shot[os.path.relpath(path, root)] = (stat.S_IFMT(info.st_mode), info.st_size,
                                                 stat.S_IMODE(info.st_mode), info.st_mtime_ns)
    return shot


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path + " is not a PNG file"
    return struct.unpack(">II", header[16:24])


def read_only_mount_works():
    """Whether this machine lets a private mount namespace hold a read-only bind mount
    (root, or a kernel that allows it); without it the test relies on file modes and on
    the before/after comparison."""
    if not shutil.which("unshare"):
        return False
    probe = tempfile.mkdtemp(prefix="mc_probe_")
    try:
        result = subprocess.run(
            ["unshare", "-m", "--propagation", "private", "sh", "-c",
             'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && ! touch "$0/x"', probe],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return result.returncode == 0 and not os.path.exists(os.path.join(probe, "x"))
    finally:
        shutil.rmtree(probe)


def run_game_read_only(tree, program, seconds=1):
    """Starts the program found in tree with the tree read-only, headless, from an
    unrelated working folder and with a fresh home; returns (exit code, output, log text,
    the user folder's files, whether the tree stayed unchanged)."""
    work = tempfile.mkdtemp(prefix="mc_run_")
    try:
        home = os.path.join(work, "home")
        os.mkdir(home)
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
                   LP_NUM_THREADS="0")
        before = snapshot(tree)
        subprocess.run(["chmod", "-R", "a-w", tree], check=True)
        command = [program, "--headless", "--multiple", "--exit-after=%d" % (seconds * 1000)]
        if read_only_mount_works():
            command = ["unshare", "-m", "--propagation", "private", "sh", "-c",
                       'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && shift && '
                       'exec "$@"', tree, "--"] + command
        try:
            result = subprocess.run(command, cwd=work, env=env, stdout=subprocess.PIPE,
                                    stderr=subprocess.STDOUT, text=True, timeout=120)
        finally:
            subprocess.run(["chmod", "-R", "u+w", tree], check=True)
        after = snapshot(tree)
        # chmod changes the modes and back: compare everything but the modes' write bits
        unchanged = {k: v[:2] + (v[3],) for k, v in before.items()} == \
                    {k: v[:2] + (v[3],) for k, v in after.items()}
        user = os.path.join(home, "data", "Tandervel", "Mahjong Curio Mar")
        log_path = os.path.join(user, "logfile.txt")
        log = open(log_path, errors="replace").read() if os.path.exists(log_path) else ""
        return result.returncode, result.stdout, log, files_below(user), unchanged
    finally:
        shutil.rmtree(work)


class InstallTest(unittest.TestCase):
    def setUp(self):
        self.destdir = tempfile.mkdtemp(prefix="mc_destdir_")
        self.manifests = []

    def tearDown(self):
        subprocess.run(["chmod", "-R", "u+w", self.destdir])
        shutil.rmtree(self.destdir)
        for folder in self.manifests:
            shutil.rmtree(folder)

    def install(self, **kwargs):
        self.manifests.append(install(self.destdir, **kwargs))
        return self.manifests[-1]

    def uninstall(self, manifests, prefix="/usr/local"):
        return run(["cmake", "-DBUILD_DIR=" + manifests, "-DPREFIX=" + prefix,
                    "-DDESTDIR=" + self.destdir, "-P", os.path.join(SOURCE, "cmake/Uninstall.cmake")])

    def test_install_lists_exactly_the_expected_files(self):
        self.install()
        prefix = os.path.join(self.destdir, "usr/local")
        self.assertEqual(files_below(self.destdir), ["usr/local/" + f for f in
                                                      sorted(GAME_FILES + SERVER_FILES)])
        for name in files_below(prefix):
            mode = stat.S_IMODE(os.stat(os.path.join(prefix, name)).st_mode)
            self.assertEqual(mode, 0o755 if name.startswith("bin/") else 0o644, name)
        # The server's unit starts the server where this install put it.
        unit = open(os.path.join(prefix, "lib/systemd/system/hiscored.service")).read()
        self.assertIn("ExecStart=/usr/local/bin/hiscored ", unit)

    def test_tools_are_installed_only_when_asked(self):
        self.install(component="tools")
        self.assertEqual(files_below(self.destdir), ["usr/local/" + f for f in TOOL_FILES])

    def test_uninstall_removes_what_was_installed_and_nothing_else(self):
        # Files of other programs in the same folders, and one in the game's doc folder
        # that the player put there, must survive.
        foreign = ["usr/local/share/applications/other.desktop",
                   "usr/local/share/icons/hicolor/48x48/apps/other.png",
                   "usr/local/bin/other"]
        for name in foreign:
            os.makedirs(os.path.dirname(os.path.join(self.destdir, name)), exist_ok=True)
            open(os.path.join(self.destdir, name), "w").write("not ours\n")
        manifests = self.install()
        tools = self.install(component="tools")
        shutil.copy(os.path.join(tools, "install_manifest.txt"),
                    os.path.join(manifests, "install_manifest_tools.txt"))
        self.assertEqual(len(files_below(self.destdir)),
                         len(foreign) + len(GAME_FILES) + len(SERVER_FILES) + len(TOOL_FILES))
        self.uninstall(manifests)
        self.assertEqual(files_below(self.destdir), sorted(foreign))
        for folder in ("share/%s" % GAME, "share/doc/%s" % GAME, "share/icons/hicolor/scalable",
                       "share/icons/hicolor/256x256"):
            self.assertFalse(os.path.exists(os.path.join(self.destdir, "usr/local", folder)), folder)
        # The standard folders stay for the other programs.
        for folder in ("bin", "share/applications", "share/metainfo", "share/icons"):
            self.assertTrue(os.path.isdir(os.path.join(self.destdir, "usr/local", folder)), folder)
        # A second uninstall finds nothing left to do and fails on nothing.
        self.uninstall(manifests)
        self.assertEqual(files_below(self.destdir), sorted(foreign))

    def test_icons_have_the_sizes_their_folders_name(self):
        self.install(component="game")
        icons = os.path.join(self.destdir, "usr/local/share/icons/hicolor")
        for n in ICON_SIZES:
            self.assertEqual(png_size(os.path.join(icons, "%dx%d/apps/%s.png" % (n, n, APP_ID))),
                             (n, n))
        svg = ET.parse(os.path.join(icons, "scalable/apps/%s.svg" % APP_ID)).getroot()
        self.assertEqual(svg.tag, "{http://www.w3.org/2000/svg}svg")
        # Drawn as vectors: a bitmap inside would blur when the desktop enlarges it.
        self.assertEqual(svg.findall(".//{http://www.w3.org/2000/svg}image"), [])
        self.assertGreater(len(svg.findall(".//{http://www.w3.org/2000/svg}path")), 10)

    def test_desktop_entry_and_metainfo_pass_validation(self):
        self.install(component="game")
        share = os.path.join(self.destdir, "usr/local/share")
        desktop = os.path.join(share, "applications", APP_ID + ".desktop")
        run(["desktop-file-validate", desktop])
        run(["appstreamcli", "validate", "--no-net",
             os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")])
        entry = dict(line.split("=", 1) for line in open(desktop).read().splitlines() if "=" in line)
        self.assertEqual(entry["Categories"], "Game;BoardGame;")
        self.assertEqual(entry["Exec"], GAME)
        self.assertEqual(entry["Icon"], APP_ID)
        self.assertTrue(os.path.isfile(os.path.join(share, "icons/hicolor/48x48/apps",
                                                    entry["Icon"] + ".png")))
        metainfo = ET.parse(os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")).getroot()
        self.assertEqual(metainfo.findtext("launchable"), APP_ID + ".desktop")

    def test_installed_program_runs_from_a_read_only_tree(self):
        self.install(component="game")
        prefix = os.path.join(self.destdir, "usr/local")
        code, output, log, user_files, unchanged = run_game_read_only(
            self.destdir, os.path.join(prefix, "bin", GAME))
        self.assertEqual(code, 0, output + log)
        self.assertIn("Assets folder: %s/share/%s/assets/" % (prefix, GAME), log)
        self.assertIn("Game loop ended", log)
        self.assertNotIn("Could not start", log)  # the dialog scripts came from the assets
        self.assertIn("prefs.dat", user_files)
        self.assertTrue(unchanged, "the program wrote into its install folder")

    def test_screenshot_comes_from_the_installed_game(self):
        self.install(component="game")
        out = os.path.join(self.destdir, "shot", "screenshot.png")
        run([os.path.join(SOURCE, "tools/package/screenshot.sh"),
             os.path.join(self.destdir, "usr/local/bin", GAME), out],
            env=dict(os.environ, LP_NUM_THREADS="0"))
        metainfo = ET.parse(os.path.join(self.destdir, "usr/local/share/metainfo",
                                         APP_ID + ".metainfo.xml")).getroot()
        image = metainfo.find("screenshots/screenshot/image")
        self.assertEqual(png_size(out), (int(image.get("width")), int(image.get("height"))))
        from PIL import Image
        colours = Image.open(out).convert("RGB").getcolors(maxcolors=1 << 20)
        self.assertGreater(len(colours), 1000, "the screenshot is (nearly) blank")


class DebianPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="mc_deb_")
        cls.deb = run([os.path.join(SOURCE, "tools/package/build_deb.sh"), BUILD,
                       os.path.join(cls.work, "out")]).strip().splitlines()[-1]

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["chmod", "-R", "u+w", cls.work])
        shutil.rmtree(cls.work)

    def field(self, name):
        return run(["dpkg-deb", "-f", self.deb, name]).strip()

    def test_package_holds_the_game_component_under_usr(self):
        listing = run(["dpkg-deb", "-c", self.deb])
        files = sorted(line.split()[-1][len("./"):] for line in listing.splitlines()
                       if line.startswith("-"))
        self.assertEqual(files, ["usr/" + f for f in GAME_FILES])
        self.assertEqual(self.field("Package"), GAME)
        self.assertTrue(os.path.basename(self.deb).startswith(GAME + "_"))
        for line in listing.splitlines():
            self.assertIn("root/root", line)

    def test_dependencies_cover_every_library_the_program_loads(self):
        depends = {re.split(r"[ (]", d.strip())[0] for d in self.field("Depends").split(",")}
        # The OpenGL driver is loaded at run time, so no linked library brings it in.
        self.assertIn("libgl1-mesa-dri", self.field("Recommends"))
        extract = os.path.join(self.work, "extract")
        run(["dpkg-deb", "-x", self.deb, extract])
        program = os.path.join(extract, "usr/bin", GAME)
        # The libraries the program names itself (not those they bring in), as ldd finds them.
        needed = re.findall(r"\(NEEDED\)\s+Shared library: \[(.+?)\]",
                            run(["readelf", "-d", program]))
        found_at = dict(re.findall(r"^\s*(\S+) => (/\S+)", run(["ldd", program]), re.M))
        libraries = [found_at[name] for name in needed if name in found_at]
        self.assertEqual(len(libraries), len(needed), (needed, found_at))
        # dpkg knows a library by the path its package installed, /lib or /usr/lib: ask for
        # both in one call (dpkg -S reads its whole database each time).
        paths = set()
        for library in libraries:
            real = os.path.realpath(library)
            paths |= {real, re.sub(r"^/usr/lib/", "/lib/", real)}
        found = subprocess.run(["dpkg", "-S"] + sorted(paths), text=True,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        owners = {line.split(":")[0] for line in found.stdout.splitlines() if ": /" in line}
        # The sanitizer runtime of a test build is no dependency of a real build.
        owners = {o for o in owners if not o.startswith("libclang-rt")}
        self.assertTrue(owners)
        self.assertEqual(owners - depends, set())
        self.assertIn("libsdl2-2.0-0", depends)
        self.assertFalse([d for d in depends if d.endswith("-dev")], depends)

    def test_apt_would_install_it_here(self):
        if not shutil.which("apt-get"):
            self.skipTest("apt-get is not on this machine")
        output = run(["apt-get", "install", "--simulate", "-o", "Debug::NoLocking=1",
                      self.deb])
        self.assertRegex(output, r"Inst %s \(" % GAME)

    def test_installs_into_a_throwaway_root_and_starts(self):
        root = os.path.join(self.work, "root")
        for folder in ("info", "updates", "triggers"):
            os.makedirs(os.path.join(root, "var/lib/dpkg", folder))
        open(os.path.join(root, "var/lib/dpkg/status"), "w").close()
        # The libraries come from this machine; the throwaway root holds the package only.
        dpkg = ["dpkg", "--root=" + root, "--log=/dev/null", "--force-depends",
                "--force-script-chrootless", "--force-not-root"]
        run(dpkg + ["-i", self.deb])
        self.assertIn("ii  " + GAME, run(["dpkg", "--root=" + root, "-l", GAME]))
        code, output, log, user_files, unchanged = run_game_read_only(
            os.path.join(root, "usr"), os.path.join(root, "usr/bin", GAME))
        self.assertEqual(code, 0, output + log)
        self.assertIn("Assets folder: %s/usr/share/%s/assets/" % (root, GAME), log)
        self.assertTrue(unchanged)
        run(dpkg + ["-r", GAME])
        self.assertFalse(os.path.exists(os.path.join(root, "usr/bin", GAME)))
        self.assertFalse(os.path.exists(os.path.join(root, "usr/share", GAME)))


if __name__ == "__main__":
    unittest.main(verbosity=2)
