#!/usr/bin/env python3
"""tarvolo-results on mail as mail programs write it.

mutt (batch mode) writes its own mbox and Maildir copies: quoted-printable UTF-8,
7-bit ISO-2022-JP, 8-bit UTF-8 with a body line starting "From ", an attached
report file. mpack attaches a report file as base64. Python's email package makes
a base64 body, web-mail HTML (with and without a plain alternative), a forwarded
mail, an EUC-JP mail, one whose charset is declared wrongly and a report sent
twice; a Thunderbird folder and broken mails stand beside them. Every report must be in results.csv
exactly once with exactly its fields; no other mail's text may reach a field.

Usage: check_real_mail.py TARVOLO_RESULTS
"""
import csv
import email.generator
import email.policy
import mailbox
import os
import pathlib
import re
import subprocess
import sys
import tempfile
from email.message import EmailMessage
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE / "../../scripts"))
from report_fields import HEADER_LINE, LABELS, MAKER  # noqa: E402
assert len(LABELS) == 8, LABELS
OTHER_MAIL = "Subject: lunch on Friday\nDate: Fri, 4 Dec 2026 12:00:00 +0900\n"


def report(name, time10000, time100000, comment, crlf=False):
    """A report as the program composes it, filled in (UTF-8)."""
    answers = [name, time10000, time100000, "PC-" + name, "Pentium", "133MHz", "Windows 98"]
    lines = ["To " + MAKER, ""]
    for (label, padding), answer in zip(LABELS, answers + [comment.split("\n")[0]]):
        lines.append(label + " " * padding + "：" + answer)
    lines += comment.split("\n")[1:]
    return ("\r\n" if crlf else "\n").join(lines) + ("\r\n" if crlf else "\n")


def report_file(*reports):
    """Entries as the program appends them: Shift_JIS, CR CR LF in the text."""
    entries = ""
    for text in reports:
        entries += "\r\n" + HEADER_LINE + "\r\n\r\n" + text.replace("\r\n", "\r\r\n")
    return entries.encode("cp932")


class Corpus:
    def __init__(self, root):
        self.root = pathlib.Path(root)
        self.expected = {}  # name: (figures, comment, damaged)
        self.mails = 0
        (self.root / "in").mkdir()
        self.rc = self.root / "muttrc"
        discard = self.root / "discard"
        discard.write_text("#!/bin/sh\ncat >/dev/null\n")
        discard.chmod(0o755)
        self.discard = discard

    def new_report(self, name, comment="速かった\n二行目です", damaged=False, **kwargs):
        figures = (kwargs.get("t1", "0.987"), kwargs.get("t2", "80.123"))
        self.expected[name] = (figures, comment, damaged)
        return report(name, figures[0], figures[1], comment, kwargs.get("crlf", False))

    def path(self, name):
        path = self.root / "in" / name
        path.parent.mkdir(parents=True, exist_ok=True)
        return path

    def mutt(self, record, mbox_type, body, charset="utf-8", allow_8bit="no", attach=None):
        self.rc.write_text(
            f'set sendmail="{self.discard}"\nset record="{record}"\n'
            f"set mbox_type={mbox_type}\nset copy=yes\nset from=\"taro@example.jp\"\n"
            f'set use_from=yes\nset send_charset="{charset}"\nset allow_8bit={allow_8bit}\n')
        command = ["mutt", "-n", "-F", str(self.rc), "-s", "report"]
        if attach:
            command += ["-a", str(attach)]
        command += ["--", MAKER]
        subprocess.run(command, input=body.encode(), check=True, env=dict(
            os.environ, HOME=str(self.root), LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8"))
        self.mails += 1

    def write_message(self, name, message):
        with open(self.path(name), "wb") as out:
            email.generator.BytesGenerator(out, policy=email.policy.SMTP).flatten(message)
        self.mails += 1


def make(corpus):
    c = corpus
    mbox = c.path("mutt.mbox")
    c.mutt(mbox, "mbox", "こんにちは\n\n" + c.new_report("qp-太郎") + "-- \nTaro\n")
    c.mutt(mbox, "mbox", c.new_report("jis-花子"), charset="iso-2022-jp")
    c.mutt(mbox, "mbox", c.new_report("8bit-次郎", comment="From the office\n速い"),
           allow_8bit="yes")
    attached = c.root / "Tarvolo結果.txt"
    attached.write_bytes(report_file(c.new_report("att-三郎", crlf=True)))
    c.mutt(mbox, "mbox", "添付します\n", attach=attached)
    # Someone else's mail after the reports: nothing of it may reach a field.
    c.mutt(mbox, "mbox", "Lunch? " + OTHER_MAIL)
    c.mutt(c.path("Maildir"), "Maildir", c.new_report("maildir-四郎"))
    c.mutt(c.path("Maildir"), "Maildir", c.new_report("maildir-五郎"), allow_8bit="yes")
    # A mail still being delivered is not read.
    tmp = c.path("Maildir/tmp/1.delivering")
    tmp.write_text("From: x@example.jp\nSubject: r\n\n" + report("tmp-読まない", "1.000", "80.000", ""))

    packed = c.root / "report.txt"
    packed.write_bytes(report_file(c.new_report("mpack-六郎", crlf=True)))
    subprocess.run(["mpack", "-s", "report", "-o", str(c.path("mpack.eml")), str(packed)],
                   check=True, stdout=subprocess.DEVNULL)
    c.mails += 1

    twice = c.new_report("b64-七子")
    c.write_message("base64.eml", MIMEText(twice, "plain", "utf-8"))
    # The same report sent again, otherwise encoded, counts once.
    c.write_message("Maildir/cur/1.again:2,S", MIMEText(twice, "plain", "iso-2022-jp"))
    plain = c.new_report("alt-八郎")
    both = MIMEMultipart("alternative")
    both.attach(MIMEText(plain, "plain", "utf-8"))
    both.attach(MIMEText("<p>" + plain.replace("\n", "<br>") + "追記</p>", "html", "utf-8"))
    c.write_message("alternative.eml", both)
    html = c.new_report("html-九子").replace(" ", "&nbsp;").replace("\n", "<br>\n")
    only_html = MIMEMultipart("alternative")
    only_html.attach(MIMEText("<html><head><title>Tarvolo</title><style>p{}</style></head>"
                              f"<body><div>{html}</div></body></html>", "html", "utf-8"))
    c.write_message("html.eml", only_html)
    inner = EmailMessage()
    inner["From"], inner["Subject"] = "hanako@example.jp", "Tarvolo"
    inner.set_content(c.new_report("fwd-十郎"), cte="quoted-printable")
    forward = EmailMessage()
    forward["From"], forward["Subject"] = "ichiro@example.jp", "Fwd: Tarvolo"
    forward.set_content("転送します")
    forward.add_attachment(inner)
    c.write_message("forward.eml", forward)
    c.write_message("euc.eml", MIMEText(c.new_report("euc-十一"), "plain", "euc-jp"))
    wrong = ("From: x@example.jp\nSubject: r\nMIME-Version: 1.0\n"
             "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: 8bit\n\n")
    c.path("wrong-charset.eml").write_bytes(
        wrong.encode() + c.new_report("sjis-十二").encode("cp932"))
    c.mails += 1

    # A Thunderbird profile's folder: mbox files without extension, .msf beside them.
    folder = mailbox.mbox(c.path("Thunderbird/Mail/Local Folders/Inbox"))
    for name in ("tb-十三", "tb-十四"):
        folder.add(MIMEText(c.new_report(name), "plain", "utf-8"))
        c.mails += 1
    # mbox writers quote a body line starting "From ": in HTML it runs on in its paragraph.
    html = c.new_report("tbhtml-二十", comment="速い From the office").replace("\n", "<br>\n")
    quoted = EmailMessage()
    quoted.set_content(html.replace("速い From", "速い\nFrom"), subtype="html", cte="quoted-printable")
    folder.add(quoted)
    c.mails += 1
    folder.close()
    c.path("Thunderbird/Mail/Local Folders/Inbox.msf").write_text(
        "// <!-- <mdb:mork:z v=\"1.4\"/> -->\n< <(a=c)> // (f=iso-8859-1)\n" +
        report("msf-読まない", "1.000", "80.000", ""))

    # Broken mails: what can be read is read and flagged, the run goes on.
    head = ("From: x@example.jp\nSubject: r\nMIME-Version: 1.0\n"
            'Content-Type: multipart/mixed; boundary="b1"\n\n--b1\n'
            "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: 8bit\n\n")
    c.path("cut.eml").write_text(head + c.new_report("cut-十五", damaged=True))
    cut = MIMEText(c.new_report("cut64-十九", comment="", damaged=True) + "あ" * 300,
                   "plain", "utf-8").as_string()
    body = cut.index("\n\n") + 2
    c.path("cut-base64.eml").write_text(cut[:body + 4 * 80 + 2])
    bad = MIMEText(c.new_report("badb64-十六", damaged=True), "plain", "utf-8").as_string()
    body = bad.index("\n\n") + 2
    bad = bad[:body + 8] + "!*" + bad[body + 8:]
    c.path("bad-base64.eml").write_text(bad)
    c.path("no-boundary.eml").write_bytes(
        b"From: x@example.jp\nSubject: r\nMIME-Version: 1.0\nContent-Type: multipart/mixed\n\n" +
        c.new_report("nobound-十七", damaged=True).encode())
    c.mails += 4

    c.path("plain-report.txt").write_bytes(report_file(c.new_report("file-十八", crlf=True)))


def check(corpus, program):
    site = corpus.root / "site"
    run = subprocess.run([program, "-o", str(site), str(corpus.root / "in")],
                         capture_output=True, text=True)
    failures = []
    if run.returncode != 0 or run.stderr:
        failures.append(f"exit status {run.returncode}, stderr: {run.stderr}")
    summary = re.search(r"\((\d+) mails\)", run.stdout)
    if not summary or int(summary.group(1)) != corpus.mails:
        failures.append(f"{corpus.mails} mails expected: {run.stdout.strip()}")

    with open(site / "results.csv", encoding="utf-8-sig", newline="") as table:
        rows = list(csv.DictReader(table))
    name, comment = LABELS[0][0], LABELS[7][0]
    seen = {}
    for row in rows:
        seen.setdefault(row[name], []).append(row)
        for column, cell in row.items():
            for leak in ("lunch", "Subject:", "Date:", "Content-", "MIME", "From:", "--=="):
                if cell and leak in cell:
                    failures.append(f"{leak!r} in column {column} of {row[name]}: {cell!r}")
    for who, (figures, text, damaged) in corpus.expected.items():
        got = seen.pop(who, [])
        if not got:
            failures.append(f"{who}: not in results.csv")
            continue
        # One row per limit it ranks in, all of the same entry.
        for row in got:
            limit = 0 if row["上限値"].replace(",", "") == "10000" else 1
            if row["秒"] != figures[limit]:
                failures.append(f"{who}: {row['上限値']} in {row['秒']!r}, sent {figures[limit]!r}")
            if row[comment].replace("\r\n", "\n") != text:
                failures.append(f"{who}: comment {row[comment]!r}, expected {text!r}")
            if row[LABELS[3][0]] != "PC-" + who:
                failures.append(f"{who}: machine {row[LABELS[3][0]]!r}")
            status = row["状態"]
            if damaged != ("壊れたメール" in status) or (not damaged and status != "OK"):
                failures.append(f"{who}: status {status!r}")
        if len(got) != 2:
            failures.append(f"{who}: {len(got)} rows, expected one per limit")
    for who in seen:
        failures.append(f"{who}: in results.csv, but no such report was sent")
    return failures


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as root:
        corpus = Corpus(root)
        make(corpus)
        failures = check(corpus, program)
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print(f"ok: {len(corpus.expected)} reports in {corpus.mails} mails, each read once, exactly")


if __name__ == "__main__":
    main()
