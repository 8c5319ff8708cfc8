"""The report's fields as report/report_fields.h lists them, for the Python that
writes reports as the program composes them (mail_corpus.py, the mail tests).

MAKER: the maker's address; HEADER_LINE: the line that opens an entry in a
report file; LABELS: (label, spaces before its colon) in the report's order.
"""
import pathlib
import re

_HEADER = (pathlib.Path(__file__).resolve().parent / "../report/report_fields.h").read_text("utf-8")
MAKER = re.search(r'#define TARVOLO_MAKER_MAIL "(.*)"', _HEADER).group(1)
HEADER_LINE = re.search(r'#define TARVOLO_ENTRY_HEADER_LINE "(.*)"', _HEADER).group(1)
LABELS = [(label, int(padding)) for label, padding in
          re.findall(r'\{"([^"]+)", (\d+), (?:true|false)\}', _HEADER)]
