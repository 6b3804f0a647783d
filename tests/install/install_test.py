"""The installed game: `make install` into a staging DESTDIR lists exactly the expected
files, `make uninstall` takes them away again and nothing else, the installed program and
the installed page host run from a read-only tree, the desktop entry and AppStream metainfo
pass Debian's validators, and the Debian packages carry the same files with computed
dependencies; the game's installs into a throwaway root, from which the game starts.

Environment: MC_SOURCE_DIR, MC_BUILD_DIR (a configured and built tree), MC_APP_ID."""

import os
import re
import signal
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import time
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
PAGEHOST_FILES = ["bin/%s-page" % GAME,
                  "lib/%s/activex_host" % GAME,
                  "lib/%s/libactivex.so" % GAME,
                  "share/%s/page/%s.html" % (GAME, GAME)]
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


class ReadOnlyTree:
    """Makes tree read-only while in use (file modes, and a read-only bind mount in a private
    mount namespace where the machine allows it: wrap() the command to run); afterwards
    `unchanged` tells whether anything in the tree changed (catches writes even as root)."""

    def __init__(self, tree):
        self.tree = tree
        self.mount = read_only_mount_works()
        self.unchanged = None

    def wrap(self, command):
        if not self.mount:
            return command
        return ["unshare", "-m", "--propagation", "private", "sh", "-c",
                'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && shift && '
                'exec "$@"', self.tree, "--"] + command

    def __enter__(self):
        self.before = snapshot(self.tree)
        subprocess.run(["chmod", "-R", "a-w", self.tree], check=True)
        return self

    def __exit__(self, *error):
        subprocess.run(["chmod", "-R", "u+w", self.tree], check=True)
        after = snapshot(self.tree)
        # chmod changes the modes and back: compare everything but the modes' write bits
        self.unchanged = {k: v[:2] + (v[3],) for k, v in self.before.items()} == \
                         {k: v[:2] + (v[3],) for k, v in after.items()}
        return False


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
        command = [program, "--headless", "--multiple", "--exit-after=%d" % (seconds * 1000)]
        with ReadOnlyTree(tree) as read_only:
            result = subprocess.run(read_only.wrap(command), cwd=work, env=env,
                                    stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                    timeout=120)
        unchanged = read_only.unchanged
        user = os.path.join(home, "data", "Tandervel", "Mahjong Curio Mar")
        log_path = os.path.join(user, "logfile.txt")
        log = open(log_path, errors="replace").read() if os.path.exists(log_path) else ""
        return result.returncode, result.stdout, log, files_below(user), unchanged
    finally:
        shutil.rmtree(work)


def start_xvfb():
    """A private X server on a display number it picks itself: (process, ":N"), or None
    where Xvfb is missing or cannot start."""
    if not shutil.which("Xvfb"):
        return None
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x900x24",
                               "-nolisten", "tcp"], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as answer:
        number = answer.readline().strip()
    if not number.isdigit():
        server.kill()
        server.wait()
        return None
    return server, ":" + number


def run_page_host_read_only(tree, program, display, wait_for, limit=120):
    """Starts the page host found in tree with no page, the tree read-only, on display, with
    a fresh home and runtime folder; once its output shows wait_for (or after limit
    seconds) asks it to close like a player closing the window (SIGTERM). Returns (exit code,
    output, whether wait_for was seen, the runtime folder's entries while it ran and after,
    whether the tree stayed unchanged)."""
    work = tempfile.mkdtemp(prefix="mc_page_")
    try:
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, HOME=os.path.join(work, "home"),
                   XDG_DATA_HOME=os.path.join(work, "home", "data"), XDG_RUNTIME_DIR=runtime,
                   DISPLAY=display, GDK_BACKEND="x11", NO_AT_BRIDGE="1",
                   WEBKIT_DISABLE_COMPOSITING_MODE="1", LIBGL_ALWAYS_SOFTWARE="1",
                   SDL_AUDIODRIVER="dummy", LP_NUM_THREADS="0",
                   ASAN_OPTIONS="detect_leaks=0")  # GTK's, WebKit's and the GL driver's
        output_path = os.path.join(work, "output.txt")
        with ReadOnlyTree(tree) as read_only, open(output_path, "w") as output:
            host = subprocess.Popen(read_only.wrap([program]), cwd=work, env=env, stdout=output,
                                    stderr=subprocess.STDOUT)
            seen = False
            running = []
            end = time.monotonic() + limit
            while time.monotonic() < end and host.poll() is None:
                time.sleep(0.5)
                with open(output_path, errors="replace") as so_far:
                    found = wait_for in so_far.read()
                if found:
                    seen = True
                    running = os.listdir(runtime)
                    break
            if host.poll() is None:
                host.send_signal(signal.SIGTERM)
            try:
                code = host.wait(timeout=60)
            except subprocess.TimeoutExpired:
                host.kill()
                code = host.wait()
        with open(output_path, errors="replace") as final:
            text = final.read()
        return code, text, seen, running, os.listdir(runtime), read_only.unchanged
    finally:
        subprocess.run(["chmod", "-R", "u+w", work])
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
                                                      sorted(GAME_FILES + SERVER_FILES +
                                                             PAGEHOST_FILES)])
        for name in files_below(prefix):
            mode = stat.S_IMODE(os.stat(os.path.join(prefix, name)).st_mode)
            # Programs are executable; shared libraries, like data, are not (Debian's rule).
            program = name.startswith("bin/") or name.endswith("/activex_host")
            self.assertEqual(mode, 0o755 if program else 0o644, name)
        # The page host's link is relative, so the tree works under any prefix.
        self.assertEqual(os.readlink(os.path.join(prefix, "bin", GAME + "-page")),
                         "../lib/%s/activex_host" % GAME)
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
                         len(foreign) + len(GAME_FILES) + len(SERVER_FILES) + len(PAGEHOST_FILES)
                         + len(TOOL_FILES))
        self.uninstall(manifests)
        self.assertEqual(files_below(self.destdir), sorted(foreign))
        for folder in ("share/%s" % GAME, "share/doc/%s" % GAME, "share/icons/hicolor/scalable",
                       "share/icons/hicolor/256x256", "lib/%s" % GAME):
            self.assertFalse(os.path.exists(os.path.join(self.destdir, "usr/local", folder)), folder)
        # The standard folders stay for the other programs.
        for folder in ("bin", "lib", "share/applications", "share/metainfo", "share/icons"):
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

    def test_installed_page_host_runs_the_game_in_its_page_from_a_read_only_tree(self):
        xvfb = start_xvfb()
        if not xvfb:
            self.skipTest("Xvfb cannot start here; the page host needs an X server")
        server, display = xvfb
        try:
            self.install(component="pagehost")
            prefix = os.path.join(self.destdir, "usr/local")
            # Started by its link in bin/, given no page: it finds the control beside itself
            # and the sample page in share/, and the game the control carries reports to the
            # page (the page logs every call on the host's output).
            code, output, seen, running, left, unchanged = run_page_host_read_only(
                self.destdir, os.path.join(prefix, "bin", GAME + "-page"), display,
                "game -> page: SessionReady")
        finally:
            server.terminate()
            server.wait()
        self.assertTrue(seen, output)
        self.assertIn("using %s/lib/%s/libactivex.so beside the host" % (prefix, GAME), output)
        self.assertEqual(len(running), 1, "the game runs from one private folder")
        self.assertEqual(code, 0, output)
        self.assertEqual(left, [], "closing the page leaves the game's folder behind")
        self.assertTrue(unchanged, "the page host wrote into its install folder")

    def test_server_address_file_is_read_from_the_installed_data_folder(self):
        self.install(component="game")
        share = os.path.join(self.destdir, "usr/local/share", GAME)
        with open(os.path.join(share, "hiscoreserver.txt"), "w") as f:
            f.write("http://127.0.0.1:9/go/hiscore\n")
        code, output, log, _, _ = run_game_read_only(
            self.destdir, os.path.join(self.destdir, "usr/local/bin", GAME))
        self.assertEqual(code, 0, output + log)
        self.assertIn("HiScores: server http://127.0.0.1:9/go/hiscore", log)

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


def package_files(deb):
    listing = run(["dpkg-deb", "-c", deb])
    for line in listing.splitlines():
        assert "root/root" in line, line
    return sorted(line.split()[5][len("./"):] for line in listing.splitlines()
                  if line.startswith(("-", "l")))


def depends_of(deb):
    depends = run(["dpkg-deb", "-f", deb, "Depends"]).strip()
    return {re.split(r"[ (]", d.strip())[0] for d in depends.split(",")}


def library_owners(program):
    """The Debian packages of the libraries the program names itself (not those they bring
    in), as ldd finds them."""
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[(.+?)\]", run(["readelf", "-d", program]))
    resolved = run(["ldd", program])
    found_at = dict(re.findall(r"^\s*(\S+) => (/\S+)", resolved, re.M))
    # ldd lists the dynamic loader by its path alone; a GCC build names it when it uses
    # thread-local storage.
    for path in re.findall(r"^\s*(/\S+) \(0x", resolved, re.M):
        found_at.setdefault(os.path.basename(path), path)
    libraries = [found_at[name] for name in needed if name in found_at]
    assert len(libraries) == len(needed), (needed, found_at)
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
    return {o for o in owners if not o.startswith("libclang-rt")}


class DebianPackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="mc_deb_")
        cls.deb, cls.pagehost_deb = run(
            [os.path.join(SOURCE, "tools/package/build_deb.sh"), BUILD,
             os.path.join(cls.work, "out")]).strip().splitlines()[-2:]

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["chmod", "-R", "u+w", cls.work])
        shutil.rmtree(cls.work)

    def field(self, name):
        return run(["dpkg-deb", "-f", self.deb, name]).strip()

    def test_package_holds_the_game_component_under_usr(self):
        self.assertEqual(package_files(self.deb), ["usr/" + f for f in GAME_FILES])
        self.assertEqual(self.field("Package"), GAME)
        self.assertTrue(os.path.basename(self.deb).startswith(GAME + "_"))

    def test_page_host_is_a_package_of_its_own(self):
        self.assertEqual(package_files(self.pagehost_deb), ["usr/" + f for f in PAGEHOST_FILES])
        self.assertEqual(run(["dpkg-deb", "-f", self.pagehost_deb, "Package"]).strip(),
                         GAME + "-pagehost")
        self.assertTrue(os.path.basename(self.pagehost_deb).startswith(GAME + "-pagehost_"))
        self.assertIn("-> ../lib/%s/activex_host" % GAME, run(["dpkg-deb", "-c", self.pagehost_deb]))
        # Nothing of the game's own package is in it, so both install side by side.
        self.assertFalse(set(package_files(self.deb)) & set(package_files(self.pagehost_deb)))

    def test_dependencies_cover_every_library_the_program_loads(self):
        depends = depends_of(self.deb)
        # The OpenGL driver is loaded at run time, so no linked library brings it in.
        self.assertIn("libgl1-mesa-dri", self.field("Recommends"))
        extract = os.path.join(self.work, "extract")
        run(["dpkg-deb", "-x", self.deb, extract])
        owners = library_owners(os.path.join(extract, "usr/bin", GAME))
        self.assertTrue(owners)
        self.assertEqual(owners - depends, set())
        self.assertIn("libsdl2-2.0-0", depends)
        self.assertNotIn("libwebkit2gtk-4.1-0", depends)  # the page host's, not the game's
        self.assertFalse([d for d in depends if d.endswith("-dev")], depends)

    def test_page_host_depends_on_webkit_and_on_what_the_carried_game_loads(self):
        depends = depends_of(self.pagehost_deb)
        extract = os.path.join(self.work, "extract_pagehost")
        run(["dpkg-deb", "-x", self.pagehost_deb, extract])
        folder = os.path.join(extract, "usr/lib", GAME)
        owners = (library_owners(os.path.join(folder, "activex_host")) |
                  library_owners(os.path.join(folder, "libactivex.so")))
        self.assertEqual(owners - depends, set())
        self.assertIn("libwebkit2gtk-4.1-0", depends)
        self.assertIn("libmspack0", depends)
        # The control unpacks and starts its own copy of the game, which needs the game's
        # libraries though neither the host nor the control links them.
        self.assertIn("libsdl2-2.0-0", depends)
        self.assertIn("libgl1-mesa-dri", run(["dpkg-deb", "-f", self.pagehost_deb, "Recommends"]))
        self.assertFalse([d for d in depends if d.endswith("-dev")], depends)

    def test_apt_would_install_it_here(self):
        if not shutil.which("apt-get"):
            self.skipTest("apt-get is not on this machine")
        output = run(["apt-get", "install", "--simulate", "-o", "Debug::NoLocking=1",
                      self.deb, self.pagehost_deb])
        self.assertRegex(output, r"Inst %s \(" % GAME)
        self.assertRegex(output, r"Inst %s-pagehost \(" % GAME)

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
