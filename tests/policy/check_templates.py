#!/usr/bin/env python3
"""Checks the Group Policy templates in policy/ as an administrator's tools read them: both
files well-formed; every text and presentation the ADMX names is in the ADML, and every box of a
presentation is an element of its policy; every policy writes the utility's own key, and only
values the utility reads (as engine/policy spells them).

    check_templates.py SOURCE_DIR
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
REFERENCE = re.compile(r"\$\((string|presentation)\.([^)]+)\)")


def read(root, *path):
    with open(os.path.join(root, *path), encoding="utf-8") as f:
        return f.read()


def main():
    root = sys.argv[1]
    try:
        admx = ET.parse(os.path.join(root, "policy", "tarvello-rounding.admx")).getroot()
        adml = ET.parse(os.path.join(root, "policy", "en-US", "tarvello-rounding.adml")).getroot()
    except ET.ParseError as e:
        sys.exit("check_templates: not well-formed: %s" % e)
    title = re.search(r'#define TARVELLO_TITLE "([^"]+)"', read(root, "identity", "identity.h.in"))
    key = "SOFTWARE\\Policies\\" + title.group(1)
    names = set(re.findall(r'\{PolicySetting::\w+, u"(\w+)"\}',
                           read(root, "engine", "policy", "organisation_policy.cpp")))
    known = {"string": {s.get("id") for s in adml.iterfind(".//p:string", NS)},
             "presentation": {p.get("id"): p for p in adml.iterfind(".//p:presentation", NS)}}

    problems = ["the ADML has no %s %s" % (kind, ref)
                for element in admx.iter() for value in element.attrib.values()
                for kind, ref in REFERENCE.findall(value) if ref not in known[kind]]
    for policy in admx.iterfind(".//p:policy", NS):
        name, elements = policy.get("name"), policy.findall("p:elements/*", NS)
        if policy.get("key") != key:
            problems.append("%s writes %s, not %s" % (name, policy.get("key"), key))
        for value in filter(None, [policy.get("valueName")] + [e.get("valueName") for e in elements]):
            if value not in names:
                problems.append("%s writes %s, which the utility does not read" % (name, value))
        for _, ref in REFERENCE.findall(policy.get("presentation") or ""):
            for box in known["presentation"].get(ref, []):
                if box.get("refId") not in {e.get("id") for e in elements}:
                    problems.append("%s shows %s, none of its elements" % (name, box.get("refId")))
    if problems:
        sys.exit("check_templates:\n  " + "\n  ".join(problems))
    print("check_templates: %d policies" % len(admx.findall(".//p:policy", NS)))


if __name__ == "__main__":
    main()
