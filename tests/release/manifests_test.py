#!/usr/bin/python3
"""The winget and Scoop manifests beside the packages name exactly these
packages, by address and SHA-256, hold every field that winget's 1.10.0
schemas require, and ask the installer only for switches it understands.

  manifests_test.py PACKAGES_DIR VERSION BASE_URL INSTALLER_SCRIPT

Prints each difference and exits 1 if there is any.
"""

import hashlib
import json
import os
import re
import sys
import zipfile

import yaml

MANIFEST_VERSION = "1.10.0"
# What the schema of each manifest type requires at its root.
REQUIRED = {
    "version": ["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType",
                "ManifestVersion"],
    "installer": ["PackageIdentifier", "PackageVersion", "Installers", "ManifestType",
                  "ManifestVersion"],
    "defaultLocale": ["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher",
                      "PackageName", "License", "ShortDescription", "ManifestType",
                      "ManifestVersion"],
}
# Each installer's own; InstallerType may stand at the root instead.
REQUIRED_PER_INSTALLER = ["Architecture", "InstallerUrl", "InstallerSha256"]
# The schema's pattern: two to eight dot-separated parts of 1 to 32 characters.
IDENTIFIER = re.compile(r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?"<>|\x01-\x1f]{1,32}){1,7}')
# NSIS reads these itself: silent, and the installation folder.
NSIS_SWITCHES = {"/S", "/D"}

problems = []


def problem(text):
    problems.append(text)
    print("DIFFERS: " + text, file=sys.stderr)


def sha256(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def expect(what, actual, expected):
    if actual != expected:
        problem(f"{what} is {actual!r}, expected {expected!r}")


def installer_script_facts(script_path):
    """The uninstall entry's key name and the switches the installer (not
    the uninstaller) reads, from the installer's script."""
    with open(script_path, encoding="utf-8") as file:
        script = file.read()
    key = re.search(r'!define UNINSTALL_KEY "[^"]*\\([^"\\]+)"', script).group(1)
    installer_part = script.split('Section "Uninstall"')[0]
    switches = set(re.findall(r'\$\{GetOptions\} \S+ "(/[A-Za-z]+)"', installer_part))
    return key, switches | NSIS_SWITCHES


def check_winget(root, version, base_url, installer, portable, zip_names, script_path):
    folders = sorted({path for path, _, files in os.walk(root) if files})
    if len(folders) != 1:
        problem(f"winget manifests in {folders}, expected one folder")
        return
    folder = folders[0]
    manifests = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), encoding="utf-8") as file:
            text = file.read()
        manifest = yaml.safe_load(text)
        kind = manifest.get("ManifestType")
        if kind not in REQUIRED or kind in manifests:
            problem(f"{name}: ManifestType {kind!r}, one of each of {sorted(REQUIRED)} expected")
            continue
        manifests[kind] = manifest
        schema = f"$schema=https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
        if schema not in text.splitlines()[0]:
            problem(f"{name}: the first line does not name {schema}")
        for field in REQUIRED[kind]:
            if field not in manifest or manifest[field] in (None, "", []):
                problem(f"{name}: the required {field} is missing")
        for field, value in manifest.items():
            if field != "Installers" and field != "Tags" and not isinstance(value, str):
                problem(f"{name}: {field} reads as {type(value).__name__} {value!r}, not text")
        expect(f"{name}: ManifestVersion", manifest.get("ManifestVersion"), MANIFEST_VERSION)
    if sorted(manifests) != sorted(REQUIRED):
        problem(f"winget manifests of the types {sorted(manifests)}, expected {sorted(REQUIRED)}")
        return
    identifier = manifests["version"]["PackageIdentifier"]
    if not IDENTIFIER.fullmatch(str(identifier)):
        problem(f"PackageIdentifier {identifier!r} is not Publisher.Name")
    # The community repository's layout: manifests/p/Publisher/Name/VERSION.
    expect("the winget folder", os.path.relpath(folder, root),
           os.path.join("manifests", identifier[0].lower(), *identifier.split("."), version))
    for kind, manifest in manifests.items():
        expect(f"the {kind} manifest's PackageIdentifier", manifest["PackageIdentifier"], identifier)
        expect(f"the {kind} manifest's PackageVersion", manifest["PackageVersion"], version)
    locale = manifests["version"]["DefaultLocale"]
    expect("the defaultLocale manifest's PackageLocale", manifests["defaultLocale"]["PackageLocale"],
           locale)
    expected_names = sorted([f"{identifier}.yaml", f"{identifier}.installer.yaml",
                             f"{identifier}.locale.{locale}.yaml"])
    expect("the winget files", sorted(os.listdir(folder)), expected_names)

    product_code, understood = installer_script_facts(script_path)
    root = manifests["installer"]
    by_type = {}
    for entry in root["Installers"]:
        kind = entry.get("InstallerType", root.get("InstallerType"))
        if kind is None:
            problem(f"an installer without InstallerType: {entry}")
        for field in REQUIRED_PER_INSTALLER:
            if field not in entry:
                problem(f"the {kind} installer's required {field} is missing")
        by_type[kind] = entry
    expect("the installer types", sorted(by_type), ["nullsoft", "zip"])

    for kind, path in (("nullsoft", installer), ("zip", portable)):
        entry = by_type.get(kind, {})
        expect(f"the {kind} installer's InstallerUrl", entry.get("InstallerUrl"),
               f"{base_url.rstrip('/')}/{os.path.basename(path)}")
        expect(f"the {kind} installer's InstallerSha256", entry.get("InstallerSha256"),
               sha256(path).upper())
        expect(f"the {kind} installer's Architecture", entry.get("Architecture"), "x64")

    nullsoft = by_type.get("nullsoft", {})
    expect("the nullsoft installer's Scope", nullsoft.get("Scope"), "user")
    expect("the nullsoft installer's ProductCode (the uninstall entry's key)",
           nullsoft.get("ProductCode"), product_code)
    switches = nullsoft.get("InstallerSwitches", {})
    for mode in ("Silent", "SilentWithProgress"):
        given = str(switches.get(mode, "")).split()
        if "/S" not in given:
            problem(f"the {mode} switches {given} do not make the installer silent")
        for switch in given:
            if switch.split("=")[0] not in understood:
                problem(f"the {mode} switch {switch} is not one the installer reads"
                        f" ({sorted(understood)})")

    portable_entry = by_type.get("zip", {})
    expect("the zip installer's NestedInstallerType", portable_entry.get("NestedInstallerType"),
           "portable")
    nested = portable_entry.get("NestedInstallerFiles") or []
    if not nested:
        problem("the zip installer names no nested file")
    for item in nested:
        relative = str(item.get("RelativeFilePath", "")).replace("\\", "/")
        if relative not in zip_names:
            problem(f"the nested file {relative!r} is not in the ZIP ({sorted(zip_names)})")
        # Each upgrade unpacks into the same package folder.
        if version in relative:
            problem(f"the nested file {relative!r} lies in a folder named after the version")


def check_scoop(path, version, base_url, portable, zip_names):
    with open(path, encoding="utf-8") as file:
        app = json.load(file)
    for field in ("version", "description", "homepage", "license", "architecture",
                  "extract_dir", "bin", "shortcuts"):
        if field not in app:
            problem(f"scoop: {field} is missing")
    expect("scoop: version", app.get("version"), version)
    download = app.get("architecture", {}).get("64bit", {})
    expect("scoop: url", download.get("url"), f"{base_url.rstrip('/')}/{os.path.basename(portable)}")
    expect("scoop: hash", str(download.get("hash")).lower(), sha256(portable))
    folder = app.get("extract_dir", "")
    for target in [app.get("bin")] + [shortcut[0] for shortcut in app.get("shortcuts", [])]:
        if f"{folder}/{target}" not in zip_names:
            problem(f"scoop: {folder}/{target} is not in the ZIP ({sorted(zip_names)})")


def main():
    packages, version, base_url, script_path = sys.argv[1:5]
    installer = os.path.join(packages, f"Shelfcloak-{version}-setup.exe")
    portable = os.path.join(packages, f"Shelfcloak-{version}-portable.zip")
    with zipfile.ZipFile(portable) as archive:
        zip_names = set(archive.namelist())
    check_winget(os.path.join(packages, "winget"), version, base_url, installer, portable,
                 zip_names, script_path)
    check_scoop(os.path.join(packages, "scoop", "shelfcloak.json"), version, base_url, portable,
                zip_names)
    if problems:
        sys.exit(1)
    print(f"manifests of {version} name {os.path.basename(installer)} and"
          f" {os.path.basename(portable)} under {base_url}")


if __name__ == "__main__":
    main()
