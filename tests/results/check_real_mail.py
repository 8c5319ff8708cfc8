#!/usr/bin/env python3
"""tarvolo-results on mail as mail programs write it.

mutt (batch mode) writes its own mbox and Maildir copies: quoted-printable UTF-8,
7-bit ISO-2022-JP, 8-bit UTF-8 with a body line starting "From ", an attached
report file. mpack attaches a report file as base64. Python's email package makes
a base64 body, web-mail HTML (with and without a plain alternative), a forwarded
mail, an EUC-JP mail, one whose charset is declared wrongly and a report sent
twice; a Thunderbird folder and broken mails stand beside them. mutt replies to a
report, quoting it; Python's email package writes replies, phone footers and
signatures as Gmail, iPhone, Outlook and Japanese mail users leave them. Every
report must be in results.csv exactly once with exactly its fields; no other
mail's text, and no quoted report, may reach a field.
Japanese mail as its programs write it: nkf's ISO-2022-JP with Windows' characters (CP50220,
CP50221 with ESC ( I katakana, and the same katakana by SO/SI, made by hand), EUC-JP, mutt's
format=flowed and a DelSp=yes one, UTF-7 and UTF-16, a picture and a report file both sent as
application/octet-stream, a report file with CR line ends. Beside them, mails the reader cannot
take (nested too deep, an unknown charset, too large): each named, the run exits 1.

Usage: check_real_mail.py TARVOLO_RESULTS
"""
import csv
import email.generator
import email.policy
import mailbox
import os
import pathlib
import random
import pty
import re
import select
import signal
import subprocess
import sys
import tempfile
import time
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

    def mutt(self, record, mbox_type, body, charset="utf-8", allow_8bit="no", attach=None,
             flowed="no"):
        self.rc.write_text(
            f'set sendmail="{self.discard}"\nset record="{record}"\n'
            f"set mbox_type={mbox_type}\nset copy=yes\nset from=\"taro@example.jp\"\n"
            f'set use_from=yes\nset send_charset="{charset}"\nset allow_8bit={allow_8bit}\n'
            f"set text_flowed={flowed}\n")
        command = ["mutt", "-n", "-F", str(self.rc), "-s", "report"]
        if attach:
            command += ["-a", str(attach)]
        command += ["--", MAKER]
        subprocess.run(command, input=body.encode(), check=True, env=dict(
            os.environ, HOME=str(self.root), LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8"))
        self.mails += 1

    def mutt_reply(self, sent, record, text):
        """mutt, as a user at a terminal, replies to the mail in sent, writing
        text above the quote it puts in; the reply is kept in record."""
        editor = self.root / "editor"
        edited = self.root / "edited"
        editor.write_text('#!/bin/sh\n{ printf %s "$REPLY_TEXT"; cat "$1"; } >"$1.new" && '
                          f'mv "$1.new" "$1" && touch "{edited}"\n')
        editor.chmod(0o755)
        (self.root / "Mail").mkdir(exist_ok=True)
        self.rc.write_text(
            f'set sendmail="{self.discard}"\nset record="{record}"\nset folder="{self.root}/Mail"\n'
            f'set mbox_type=mbox\nset copy=yes\nset from="taro@example.jp"\nset use_from=yes\n'
            f'set send_charset="utf-8"\nset include=yes\nset fast_reply=yes\nset editor="{editor}"\n'
            "set move=no\nset quit=yes\n")
        env = dict(os.environ, HOME=str(self.root), LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8",
                   TERM="vt100", REPLY_TEXT=text)
        pid, terminal = pty.fork()
        if pid == 0:
            os.execvpe("mutt", ["mutt", "-n", "-F", str(self.rc), "-f", str(sent)], env)
        screen = bytearray()

        def wait_for(done):
            """Reads what mutt draws until done() or 20 s, then until it is quiet."""
            deadline = time.time() + 20
            while time.time() < deadline and (
                    not done() or select.select([terminal], [], [], 0.3)[0]):
                if select.select([terminal], [], [], 0.1)[0]:
                    try:
                        screen.extend(os.read(terminal, 65536))
                    except OSError:
                        return

        # r replies once the index shows the mail, y sends once the editor has run,
        # q quits once the reply is kept.
        wait_for(lambda: b"report" in screen)
        os.write(terminal, b"r")
        wait_for(edited.exists)
        os.write(terminal, b"y")
        kept = pathlib.Path(record)
        wait_for(lambda: kept.exists() and b"In-Reply-To" in kept.read_bytes())
        os.write(terminal, b"q")
        wait_for(lambda: True)
        # A prompt nobody expected leaves it waiting: end it rather than the test hanging.
        deadline = time.time() + 10
        ended, status = os.waitpid(pid, os.WNOHANG)
        while ended == 0 and time.time() < deadline:
            time.sleep(0.1)
            ended, status = os.waitpid(pid, os.WNOHANG)
        if ended == 0:
            os.kill(pid, signal.SIGKILL)
            os.waitpid(pid, 0)
        os.close(terminal)
        assert ended == pid and status == 0, f"mutt did not end well: {status}"
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

    # Replies, footers and signatures: only the report's own comment is read, and a
    # quoted report is never read again.
    earlier = c.root / "sent-earlier"
    c.mutt(earlier, "mbox", report("引用-読まない", "1.000", "90.000", "前の報告"))
    c.mails -= 1  # kept outside the folder read
    c.mutt_reply(earlier, c.path("reply.mbox"), c.new_report("返信-二十一") + "\n")
    gmail = (c.new_report("gmail-二十二") + "\n2026年12月1日(火) 10:00 山田 <yamada@example.jp>:\n\n" +
             "".join("> " + line + "\n" for line in report("gq-読まない", "1.000", "90.000",
                                                           "引用").splitlines()))
    c.write_message("gmail-reply.eml", MIMEText(gmail, "plain", "utf-8"))
    c.write_message("iphone.eml", MIMEText(c.new_report("iphone-二十三") + "\niPhoneから送信\n",
                                           "plain", "iso-2022-jp"))
    c.write_message("outlook.eml", MIMEText(
        c.new_report("outlook-二十四") + "\nGet Outlook for iOS<https://aka.ms/o0ukef>\n",
        "plain", "utf-8"))
    signed = (c.new_report("署名-二十五") + "\n━━━━━━━━━━━━━━━━\n山田 太郎\nyamada@example.jp\n"
              "TEL 03-1234-5678\n━━━━━━━━━━━━━━━━\n")
    c.path("signed.eml").write_bytes(
        b"From: yamada@example.jp\nSubject: r\nMIME-Version: 1.0\nContent-Type: text/plain; "
        b"charset=Shift_JIS\nContent-Transfer-Encoding: 8bit\n\n" + signed.encode("cp932"))
    c.mails += 1
    # Lines only a person writes stay: a rule inside the comment, a name at its end.
    c.write_message("ruled.eml", MIMEText(c.new_report(
        "罫線-二十六", comment="速かった\n-----\n次は 100,000 も測ります\n山田"), "plain", "utf-8"))
    fullwidth = (c.new_report("全角-二十七") + "山田さん wrote:\n" +
                 "".join("＞" + line + "\n" for line in report("fq-読まない", "1.000", "90.000",
                                                               "引用").splitlines()))
    c.write_message("fullwidth-quote.eml", MIMEText(fullwidth, "plain", "iso-2022-jp"))

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
    make_japanese(c)


def nkf(text, *options):
    return subprocess.run(["nkf", "--ic=UTF-8", *options], input=text.encode(),
                          capture_output=True, check=True).stdout


def raw_mail(content_type, body, encoding="7bit", message_id=None):
    head = f"From: x@example.jp\nSubject: r\nMIME-Version: 1.0\nContent-Type: {content_type}\n"
    head += f"Content-Transfer-Encoding: {encoding}\n"
    head += f"Message-ID: {message_id}\n" if message_id else ""
    return head.encode() + b"\n" + body


def flow(text, delsp, width=12):
    """Lines broken as a format=flowed sender breaks them: after a space, or anywhere with DelSp."""
    out = []
    for line in text.split("\n"):
        while len(line) > width:
            cut = width if delsp else line.find(" ", width // 2) + 1
            if cut <= 0 or cut >= len(line):
                break
            out.append(line[:cut] + (" " if delsp else ""))
            line = line[cut:]
        out.append(line)
    return "\n".join(" " + line if line.startswith((" ", ">", "From ")) else line for line in out)


def make_japanese(c):
    jis = "Pentium Ⅲ で測りました①\n㈱髙﨑製作所 №3"
    c.path("nkf-cp50220.eml").write_bytes(raw_mail(
        "text/plain; charset=ISO-2022-JP", nkf(c.new_report("nkf-髙﨑太郎", comment=jis), "--oc=CP50220")))
    katakana = c.new_report("nkf-ｶﾀｶﾅ", comment="ｶﾀｶﾅで書きました\n②")
    c.path("nkf-cp50221.eml").write_bytes(raw_mail(
        "text/plain; charset=iso-2022-jp", nkf(katakana, "--oc=CP50221")))
    shifted = re.sub(rb"\x1b\(I([^\x1b]*)\x1b\(B", lambda m: b"\x0e" + m.group(1) + b"\x0f",
                     nkf(c.new_report("sosi-ｼﾝｲﾁ", comment="ｿｰｽで書きました"), "--oc=CP50221"))
    assert b"\x0e" in shifted
    c.path("so-si.eml").write_bytes(raw_mail("text/plain; charset=ISO-2022-JP", shifted))
    c.path("nkf-euc.eml").write_bytes(raw_mail(
        "text/plain; charset=EUC-JP", nkf(c.new_report("euc-①子", comment="Ⅲ ㈱"), "--oc=eucJP-ms"),
        "8bit"))
    c.mails += 4

    long = "The comment runs long, and the mail program broke it into lines.\nFrom then on"
    c.mutt(c.path("flowed.mbox"), "mbox", flow(c.new_report("flow-一郎", comment=long), False),
           flowed="yes")
    japanese = "とても長いコメントで、送った人のメールソフトが途中で折り返しました。"
    delsp = EmailMessage()
    delsp.set_content(flow(c.new_report("delsp-二郎", comment=japanese), True), cte="base64")
    delsp.set_param("format", "flowed")
    delsp.set_param("delsp", "yes")
    c.write_message("delsp.eml", delsp)
    c.path("utf-7.eml").write_bytes(raw_mail(
        "text/plain; charset=UTF-7", c.new_report("utf7-三子").encode("utf-7")))
    c.mails += 1
    c.write_message("utf-16.eml", MIMEText(c.new_report("utf16-四子"), "plain", "utf-16"))

    screenshot = EmailMessage()
    screenshot.set_content(c.new_report("shot-五子"))
    screenshot.add_attachment(b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 64, maintype="application",
                              subtype="octet-stream", filename="shot.png")
    # A report file saved by Notepad (UTF-16 with BOM) under a picture's name.
    screenshot.add_attachment(c.new_report("notepad-六子", crlf=True).encode("utf-16"),
                              maintype="application", subtype="octet-stream", filename="shot2.png")
    c.write_message("octet-stream.eml", screenshot)
    cr = "\r" + HEADER_LINE + "\r\r" + c.new_report("mac-七郎").replace("\n", "\r")
    c.path("cr-report.txt").write_bytes(cr.encode("cp932"))


def check_lost(program, root):
    """Mails the reader cannot take: each named with its mail, the good reports beside them kept."""
    inbox = pathlib.Path(root) / "hostile"
    inbox.mkdir()
    deep = MIMEText(report("deep-読めない", "1.000", "80.000", ""), "plain", "utf-8")
    for _ in range(70):
        outer = MIMEMultipart("mixed")
        outer.attach(deep)
        deep = outer
    deep["Message-ID"] = "<deep@example.jp>"
    (inbox / "deep.eml").write_bytes(deep.as_bytes())
    (inbox / "charset.eml").write_bytes(raw_mail(
        "text/plain; charset=x-windows-ucs2", report("charset-読めない", "1.000", "80.000", "")
        .encode("utf-16-le"), "binary", "<charset@example.jp>"))
    good = report("good-八郎", "0.987", "80.123", "読める")
    large = MIMEText(good + "あ" * (12 << 20), "plain", "utf-8")
    # A picture as large, sent as application/octet-stream, is no report and no loss.
    picture = EmailMessage()
    picture.set_content(good)
    picture.add_attachment(b"\x89PNG\r\n\x1a\n" + random.Random(1).randbytes(33 << 20),
                           maintype="application", subtype="octet-stream", filename="shot.png")
    box = mailbox.mbox(inbox / "large.mbox")
    box.add(picture)
    box.add(large)
    box.close()
    # A From line with no header after it: GMime reads no mail there; the report
    # after it is still read.
    after = EmailMessage()
    after.set_content(report("after-九郎", "0.988", "80.124", "読める"))
    with open(inbox / "large.mbox", "ab") as mbox:
        mbox.write(b"\nFrom nobody Mon Dec  7 10:00:00 2026\nno header here\n\n"
                   + b"From sender Mon Dec  7 10:00:01 2026\n" + after.as_bytes() + b"\n")
    run = subprocess.run([program, "-o", str(pathlib.Path(root) / "site-hostile"), str(inbox)],
                         capture_output=True, text=True)
    failures = [] if run.returncode == 1 else [f"hostile mail: exit status {run.returncode}"]
    for said in ("nested deeper than 64 levels, in the mail <deep@example.jp>",
                 '"x-windows-ucs2" that no decoder knows, in the mail <charset@example.jp>',
                 "too large for a report, in a mail without Message-ID, mail 2 of the mbox",
                 "a mail with no header after its From line, in mail 3 of the mbox"):
        if said not in run.stderr:
            failures.append(f"hostile mail: {said!r} not on stderr: {run.stderr}")
    if "2 entries read" not in run.stdout or "4 mail parts skipped" not in run.stdout:
        failures.append(f"hostile mail: summary {run.stdout.strip()}")
    return failures


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
        failures = check(corpus, program) + check_lost(program, root)
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print(f"ok: {len(corpus.expected)} reports in {corpus.mails} mails, each read once, exactly")


if __name__ == "__main__":
    main()
