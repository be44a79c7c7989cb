#!/usr/bin/env python3
"""Compares the stand-in's dump after one Round ("Nearest Multiple of" 5, "Unit Price",
"All Rows") with what that Round must make of the quote it was started with.

    check_dump.py QUOTE.csv DUMP.csv
"""
import csv
import math
import sys

AMOUNT = 5


def rows(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        lines = [line for line in f if line.strip() and not line.startswith("#")]
    return list(csv.DictReader(lines))


def nearest(price, n):
    """A price on the nearest multiple of n: the price goes to a whole number first (halves
    to even), then a remainder of half of n or more goes up."""
    whole = round(price)
    remainder = int(math.fmod(whole, n))
    return whole - remainder if n / 2 > remainder else (n - remainder) + whole


def number(text):
    try:
        return float(text)
    except ValueError:
        return None


def expected_rows(quote):
    out = []
    for row in quote:
        row = dict(row)
        if number(row["LineType"]) == 1:
            price = number(row["UnitPrice"])
            if price is None or number(row["QtyTotal"]) is None:
                sys.exit("check_dump: the quote has an item line without numbers: %s" % row)
            row["UnitPrice"] = nearest(price, AMOUNT)
            row["PriceModifier"] = ""
        price, quantity = number(str(row["UnitPrice"])), number(row["QtyTotal"])
        if price is not None and quantity is not None:
            # The host works the extended price out itself whenever the unit price changes.
            row["ExtendedPrice"] = price * quantity
        out.append(row)
    return out


def same(expected, actual):
    for key in ("LineType", "Description", "PriceModifier"):
        if str(expected[key]) != actual.get(key):
            return False
    for key in ("QtyTotal", "UnitPrice"):
        e, a = number(str(expected[key])), number(actual.get(key, ""))
        if e is None or a is None:
            if str(expected[key]) != actual.get(key):
                return False
        elif e != a:
            return False
    if "ExtendedPrice" in expected:
        extended = number(actual.get("ExtendedPrice", ""))
        if extended is None or not math.isclose(extended, expected["ExtendedPrice"],
                                                rel_tol=1e-12, abs_tol=1e-9):
            return False
    return True


def show(title, table):
    print(title)
    for row in table:
        print("  " + ", ".join("%s=%s" % (k, row.get(k)) for k in
                               ("LineType", "Description", "QtyTotal", "UnitPrice",
                                "PriceModifier", "ExtendedPrice")))


def main():
    quote = rows(sys.argv[1])
    dump = rows(sys.argv[2])
    expected = expected_rows(quote)
    changed = [e for e, q in zip(expected, quote)
               if number(str(e["UnitPrice"])) != number(q["UnitPrice"])]
    if not changed:
        sys.exit("check_dump: Nearest 5 changes no price of this quote: it proves nothing")
    if len(expected) != len(dump) or not all(same(e, a) for e, a in zip(expected, dump)):
        show("check_dump: the document after Round differs\nexpected:", expected)
        show("actual:", dump)
        sys.exit(1)
    print("check_dump: %d line items as expected, %d prices rounded" %
          (len(dump), len(changed)))


if __name__ == "__main__":
    main()
