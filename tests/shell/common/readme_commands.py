"""Every command in the README's shell code blocks, tried here as a newcomer or an operator
would type it: each is run (in a folder of its own, with a home of its own, `build` leading to
the build tree) and must end with status 0, or with the status its trailing comment states
("# exit status N"). A command that cannot run here is matched by a rule below, which says
how it is checked instead (a cheaper equivalent) or why it is not: a new command that matches
no rule is simply run, so a section added to the README is tried without a change here.

Usage: readme_commands.py SOURCE_DIR BUILD_DIR
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request

SOURCE, BUILD = (os.path.abspath(p) for p in sys.argv[1:3])


def code_commands(readme):
    """(line number, command) for every command of the sh code blocks."""
    commands, block, pending, start = [], False, "", 0
    for number, line in enumerate(open(readme, encoding="utf-8"), 1):
        line = line.rstrip("\n")
        fence = re.match(r"^```\s*(\w*)", line)
        if fence:
            block = not block and fence.group(1) in ("sh", "bash", "shell", "console")
            continue
        if not block:
            continue
        if not pending:
            start = number
        pending += line
        if pending.endswith("\\"):
            pending = pending[:-1]
            continue
        command, pending = pending.strip(), ""
        if command and not command.startswith("#"):
            commands.append((start, command))
    return commands


def expected_status(command):
    found = re.search(r"#\s*exit status (\d+)", command)
    return int(found.group(1)) if found else 0


class Sandbox:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="quillon-readme-")
        os.symlink(BUILD, os.path.join(self.dir, "build"))
        os.makedirs(os.path.join(self.dir, "home"))
        # The headless example's script: a state dump once the menu is up.
        with open(os.path.join(self.dir, "run.txt"), "w") as script:
            script.write("100 state menu.json\n")
        self.env = dict(os.environ, HOME=os.path.join(self.dir, "home"), SDL_AUDIODRIVER="dummy")
        self.env.pop("XDG_DATA_HOME", None)
        self.env.pop("QUILLON_SCORE_SERVER", None)
        self.env["ASAN_OPTIONS"] = self.env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"

    def run(self, command, seconds=60):
        done = subprocess.run(["sh", "-c", command], cwd=self.dir, env=self.env, timeout=seconds,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
        return done.returncode, done.stdout


def run_as_is(box, command):
    status, output = box.run(command)
    want = expected_status(command)
    return None if status == want else "status %d, not %d:\n%s" % (status, want, output[-2000:])


def run_headless(box, command):
    """The desktop game, started without a window: a few frames headless."""
    return run_as_is(box, re.sub(r"#.*$", "", command).rstrip() + " --headless --frames 20")


def run_server(box, command):
    """A server: on a free port, until it serves the table page; SIGTERM must end it with 0."""
    command = re.sub(r"--listen \S+", "", command).rstrip().rstrip("&").rstrip() + " --listen 127.0.0.1:0"
    server = subprocess.Popen(["sh", "-c", "exec " + command], cwd=box.dir, env=box.env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        line = server.stdout.readline()
        port = re.search(r"listening on .*:(\d+)", line)
        if not port:
            return "did not start listening: %r (status %s)" % (line, server.wait(timeout=10))
        page = "http://127.0.0.1:%s/cgi/version.pl?prg=Quillon&show&type=0" % port.group(1)
        with urllib.request.urlopen(page, timeout=10) as answer:
            if answer.status != 200:
                return "the page answered %d" % answer.status
        server.send_signal(signal.SIGTERM)
        status = server.wait(timeout=20)
        return None if status == 0 else "ended with status %d after SIGTERM" % status
    finally:
        if server.poll() is None:
            server.kill()
            server.wait()


def configure_only(box, command):
    """A CMake configure of its own: every option it names must be one the project knows."""
    build_dir = re.search(r"-B (\S+)", command).group(1)
    command = command.replace("-S .", "-S " + SOURCE).replace("-B " + build_dir, "-B " + os.path.join(box.dir, build_dir))
    status, output = box.run(command, seconds=120)
    if status != 0:
        return "configure failed:\n" + output[-2000:]
    if "not used by the project" in output:
        return "an option the project does not know:\n" + output[-2000:]
    return None


def shell_syntax(box, command):
    script = re.match(r"\S+", command).group(0)
    status, output = box.run("sh -n '%s'" % os.path.join(SOURCE, script))
    return None if status == 0 else output


def not_run(box, command):
    return None


# (pattern, check, why the command is not run as it stands); the first match wins.
RULES = [
    (r"^\./scripts/(play|test|setup-debian)\.sh\b", shell_syntax,
     "installs packages, builds, or runs every test (the script itself is checked with sh -n)"),
    (r"^cmake -S \. -B \S+.*-DQUILLON_", configure_only, "configured on its own; the build takes minutes"),
    (r"^cmake -S \. -B ", not_run, "a configure with none of the project's options, as every build of the tests does"),
    (r"^cmake --build ", not_run, "the full build takes minutes: the tests run in such a build"),
    (r"^cmake --install ", not_run, "the install into a prefix is tried by shell.install"),
    (r"^xargs rm -f < \S+/install_manifest\.txt", not_run, "undoing an install is tried by shell.install"),
    (r"^ctest\b", not_run, "runs the tests, this one among them"),
    (r"\bdpkg-buildpackage\b|^sudo\b", not_run,
     "changes the system as root (the packages are built, installed and removed by scripts/test-packages.sh)"),
    (r"^journalctl\b", not_run, "reads the journal of an installed service"),
    (r"postgresql://", not_run, "needs a PostgreSQL role of its own (the tests run their own PostgreSQL)"),
    (r"(^|\s)build/quillon-scores(?!.*--(version|help))", run_server, "a server: serves its page, then SIGTERM"),
    (r"(^|\s)build/quillon(\s+--lang \S+)?(\s*$|\s+#)", run_headless, "opens the game window: run headless instead"),
]


def main():
    box = Sandbox()
    failures = 0
    try:
        for line, command in code_commands(os.path.join(SOURCE, "README.md")):
            rule = next(((check, why) for pattern, check, why in RULES if re.search(pattern, command)),
                        (run_as_is, ""))
            check, why = rule
            try:
                fault = check(box, command)
            except Exception as error:  # a time-out or a server that would not talk
                fault = repr(error)
            if fault:
                failures += 1
                print("FAIL README.md:%d: %s\n  %s" % (line, command, fault))
            elif check is not_run:
                print("not run  README.md:%d: %s\n  (%s)" % (line, command, why))
            else:
                print("ok       README.md:%d: %s%s" % (line, command, "\n  (%s)" % why if why else ""))
    finally:
        shutil.rmtree(box.dir, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
