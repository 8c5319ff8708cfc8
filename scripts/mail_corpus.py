#!/usr/bin/env python3
"""An mbox as a maker's mail program keeps it, for the benchmark of tarvolo-results.

Usage: mail_corpus.py MBOX REPORTS SCREENSHOTS

REPORTS reports, a third each as a quoted-printable UTF-8 mail, a base64 UTF-8
mail and a report file (Shift_JIS) attached as base64, among SCREENSHOTS mails
with a 1 MB picture attached. The labels are the program's own
(report/report_fields.h). Prints the number of reports written.
"""
import email.generator
import email.policy
import io
import random
import sys
from email.message import EmailMessage

from report_fields import HEADER_LINE, LABELS, MAKER


def report(number, generator):
    t1 = generator.randint(500, 5000)
    answers = [f"利用者{number}", f"{t1 / 1000:.3f}", f"{t1 * 79 / 1000:.3f}",
               f"PC-{number % 977}", "Pentium III", f"{generator.choice((450, 600, 800))}MHz",
               "Windows 98", "ほかのソフトはすべて閉じてから測りました。"]
    lines = ["To " + MAKER, ""]
    lines += [label + " " * padding + "：" + answer for (label, padding), answer in zip(LABELS, answers)]
    return "\r\n".join(lines + ["次は新しいＣＰＵで測ってみます。", ""])


def message(subject):
    mail = EmailMessage()
    mail["From"], mail["To"], mail["Subject"] = "user@example.jp", MAKER, subject
    return mail


def main():
    path, reports, screenshots = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    generator = random.Random(1)
    picture = generator.randbytes(1 << 20)
    every = max(1, reports // max(1, screenshots))
    with open(path, "wb") as out:
        def add(mail):
            buffer = io.BytesIO()
            # mangle_from_: a body line "From " is written ">From ", as mbox writers do.
            email.generator.BytesGenerator(buffer, mangle_from_=True, policy=email.policy.SMTP
                                           .clone(linesep="\n")).flatten(mail, unixfrom=True)
            out.write(buffer.getvalue() + b"\n")
        for number in range(reports):
            text = report(number, generator)
            mail = message("Tarvolo")
            if number % 3 == 0:
                mail.set_content(text, cte="quoted-printable")
            elif number % 3 == 1:
                mail.set_content(text, cte="base64")
            else:
                mail.set_content("結果を添付します。")
                entry = ("\r\n" + HEADER_LINE + "\r\n\r\n" + text.replace("\r\n", "\r\r\n"))
                mail.add_attachment(entry.encode("cp932"), maintype="application",
                                    subtype="octet-stream", filename="Tarvolo.txt")
            add(mail)
            if number % every == 0 and screenshots > 0:
                screenshots -= 1
                shot = message("screenshot")
                shot.set_content("画面です。")
                shot.add_attachment(picture, maintype="image", subtype="png", filename="shot.png")
                add(shot)
    print(reports)


if __name__ == "__main__":
    main()
