#!/usr/bin/python3
"""Installs the built tree into a scratch prefix, makes the Debian package with CPack,
installs that package with dpkg into a scratch root and checks what a merchant gets.

usage: package_test.py --build DIR --cmake CMAKE --cpack CPACK --version VERSION

The package is made from whatever tree is given (the sanitizer tree under ctest), so its
Depends line may name the sanitizer runtimes as well; everything else is as released.
"""

import argparse
import os
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
PROGRAMS = ("varnola-orders", "varnola-orders-cli", "varnola-sim")
EXPECTED_FILES = {
    *(f"bin/{program}" for program in PROGRAMS),
    "share/applications/varnola-orders.desktop",
    "share/doc/varnola-orders/README.md",
    "share/doc/varnola-orders/config.ini.sample",
    "share/icons/hicolor/scalable/apps/varnola-orders.svg",
    *(f"share/icons/hicolor/{n}x{n}/apps/varnola-orders.png" for n in ICON_SIZES),
}
# What the programs need at run time and no linker sees: the window's CJK font, and the
# libraries behind the window, the network, the patterns, the workbooks and the voice.
REQUIRED_DEPENDS = (
    "fonts-wqy-microhei", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libcurl4",
    "libpcre2-16-0", "libxlsxwriter4", "libzip4", "libexpat1", "libfreexl1", "libspeechd2",
)
SAMPLE = "share/doc/varnola-orders/config.ini.sample"

options = None  # the command line, read in main()


def run(args, env=None, check=True):
    result = subprocess.run([str(a) for a in args], capture_output=True, text=True,
                            env=env, timeout=120)
    if check and result.returncode != 0:
        raise AssertionError(f"{' '.join(map(str, args))} exited with {result.returncode}\n"
                             f"{result.stdout}{result.stderr}")
    return result


def files_under(folder):
    return {str(p.relative_to(folder)) for p in folder.rglob("*") if not p.is_dir()}


def png_size(path):
    data = path.read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG")
    return struct.unpack(">II", data[16:24])


def desktop_entry(path):
    entry = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        if "=" in line and not line.startswith("#"):
            key, value = line.split("=", 1)
            entry[key.strip()] = value.strip()
    return entry


def without_display():
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(name, None)
    return env


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix="varnola-package-"))
        cls.addClassCleanup(shutil.rmtree, cls.work, ignore_errors=True)
        cls.prefix = cls.work / "prefix"
        run([options.cmake, "--install", options.build, "--prefix", cls.prefix])

        run([options.cpack, "--config", Path(options.build) / "CPackConfig.cmake", "-G", "DEB",
             "-B", cls.work / "packages"])
        debs = sorted((cls.work / "packages").glob("varnola-orders_*.deb"))
        if len(debs) != 1:
            raise AssertionError(f"expected one varnola-orders_*.deb, found {debs}")
        cls.deb = debs[0]

        # A scratch root whose package database is a copy of this machine's: dpkg checks the
        # Depends line against what is really installed here, as `dpkg -i` would.
        cls.root = cls.work / "root"
        admin = cls.root / "var/lib/dpkg"
        for sub in ("info", "updates", "triggers"):
            (admin / sub).mkdir(parents=True)
        shutil.copy("/var/lib/dpkg/status", admin / "status")
        (admin / "available").touch()
        install = ["dpkg", f"--root={cls.root}", "--log=/dev/null", "-i", cls.deb]
        if os.geteuid() != 0:
            install.insert(1, "--force-not-root")
        run(install)

    def test_install_puts_programs_desktop_entry_icons_and_sample_in_place(self):
        self.assertEqual(files_under(self.prefix), EXPECTED_FILES)
        for program in PROGRAMS:
            mode = (self.prefix / "bin" / program).stat().st_mode
            self.assertTrue(mode & stat.S_IXOTH, f"{program} is not executable by everyone")
        for n in ICON_SIZES:
            path = self.prefix / f"share/icons/hicolor/{n}x{n}/apps/varnola-orders.png"
            self.assertEqual(png_size(path), (n, n), path)

        desktop = self.prefix / "share/applications/varnola-orders.desktop"
        validation = run(["desktop-file-validate", desktop], check=False)
        self.assertEqual(validation.returncode, 0, validation.stdout + validation.stderr)
        entry = desktop_entry(desktop)
        self.assertEqual(entry["Name"], "Varnola商城订单管理系统")
        self.assertIn("Office", entry["Categories"].split(";"))
        self.assertTrue(entry.get("Comment") and entry.get("Comment[zh_CN]"))
        self.assertTrue((self.prefix / "bin" / entry["Exec"].split()[0]).is_file())
        self.assertIn(f"share/icons/hicolor/48x48/apps/{entry['Icon']}.png", EXPECTED_FILES)

    def test_package_names_itself_and_its_runtime_dependencies(self):
        def field(name):
            return run(["dpkg-deb", "--field", self.deb, name]).stdout.strip()

        self.assertEqual(field("Package"), "varnola-orders")
        self.assertEqual(field("Version"), options.version)
        self.assertEqual(field("Architecture"),
                         run(["dpkg", "--print-architecture"]).stdout.strip())
        depends = {alternative.split()[0] for item in field("Depends").split(",")
                   for alternative in item.split("|")}
        for package in REQUIRED_DEPENDS:
            self.assertIn(package, depends)
        self.assertIn("speech-dispatcher", field("Recommends"))
        # dpkg --verify checks installed files against these sums.
        self.assertRegex(run(["dpkg-deb", "--info", self.deb]).stdout, r"\smd5sums\s")
        listing = run(["dpkg-deb", "--contents", self.deb]).stdout.splitlines()
        packed = {line.split()[-1].removeprefix("./") for line in listing
                  if not line.startswith("d")}
        self.assertEqual(packed, {f"usr/{f}" for f in EXPECTED_FILES})
        for line in listing:
            self.assertEqual(line.split()[1], "root/root", line)

    def test_installed_programs_answer_version_and_help_without_a_display(self):
        env = without_display()
        for program in PROGRAMS:
            result = run([self.root / "usr/bin" / program, "--version"], env=env)
            self.assertEqual(result.stdout, f"{program} {options.version}\n")
        usage = run([self.root / "usr/bin/varnola-orders", "--help"], env=env).stdout
        self.assertIn("--screenshot", usage)

    def test_first_start_writes_the_shipped_sample_as_the_users_configuration(self):
        sample = (self.root / "usr" / SAMPLE).read_text(encoding="utf-8")
        self.assertIn("\n; ca_file = ", sample)
        cli = run([self.root / "usr/bin/varnola-orders-cli", "--config", self.root / "usr" / SAMPLE,
                   "--print", "--quiet"], check=False)
        self.assertEqual(cli.returncode, 0, "the headless tool refuses the sample: " + cli.stderr)

        config_home = self.work / "config-home"
        env = dict(os.environ, XDG_CONFIG_HOME=str(config_home), QT_QPA_PLATFORM="offscreen")
        env.pop("VARNOLA_ORDERS_CONFIG", None)
        window = [self.root / "usr/bin/varnola-orders", "--screenshot", self.work / "shot.png"]
        run(window, env=env)
        written = config_home / "varnola-orders/config.ini"
        self.assertEqual(written.read_text(encoding="utf-8"), sample)
        self.assertTrue((self.work / "shot.png").is_file(), "the window did not open")

        written.write_text("[hosts]\nbackend = shop.example:8080\n", encoding="utf-8")
        run(window, env=env)
        self.assertEqual(written.read_text(encoding="utf-8"),
                         "[hosts]\nbackend = shop.example:8080\n")


def main():
    global options
    parser = argparse.ArgumentParser()
    for name in ("--build", "--cmake", "--cpack", "--version"):
        parser.add_argument(name, required=True)
    options, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
