#!/usr/bin/env python3
"""Checks the Group Policy templates in policy/ as an administrator's tools would read them:
both files well-formed XML; every text and presentation the ADMX names is in the ADML, and every
box of a presentation belongs to an element of its policy; every policy writes the utility's own
policy key, and only values the utility reads (their names as engine/policy spells them).

    check_templates.py SOURCE_DIR
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
REFERENCE = re.compile(r"\$\((string|presentation)\.([^)]+)\)")


def main():
    root = sys.argv[1]
    problems = []
    try:
        admx = ET.parse(os.path.join(root, "policy", "tarvello-rounding.admx")).getroot()
        adml = ET.parse(os.path.join(root, "policy", "en-US", "tarvello-rounding.adml")).getroot()
    except ET.ParseError as e:
        sys.exit("check_templates: not well-formed: %s" % e)

    with open(os.path.join(root, "identity", "identity.h.in"), encoding="utf-8") as f:
        title = re.search(r'#define TARVELLO_TITLE "([^"]+)"', f.read()).group(1)
    with open(os.path.join(root, "engine", "policy", "organisation_policy.cpp"), encoding="utf-8") as f:
        names = set(re.findall(r'\{PolicySetting::\w+, u"(\w+)"\}', f.read()))
    key = "SOFTWARE\\Policies\\" + title

    strings = {s.get("id") for s in adml.iterfind(".//p:stringTable/p:string", NS)}
    presentations = {p.get("id"): p for p in adml.iterfind(".//p:presentationTable/p:presentation", NS)}
    for element in admx.iter():
        for value in element.attrib.values():
            for kind, ref in REFERENCE.findall(value):
                known = strings if kind == "string" else presentations
                if ref not in known:
                    problems.append("the ADML has no %s %s" % (kind, ref))

    for policy in admx.iterfind(".//p:policy", NS):
        name = policy.get("name")
        if policy.get("key") != key:
            problems.append("%s writes %s, not %s" % (name, policy.get("key"), key))
        values = [policy.get("valueName")] + [e.get("valueName") for e in policy.iterfind("p:elements/*", NS)]
        for value in filter(None, values):
            if value not in names:
                problems.append("%s writes %s, which the utility does not read" % (name, value))
        ids = {e.get("id") for e in policy.iterfind("p:elements/*", NS)}
        shown = REFERENCE.findall(policy.get("presentation") or "")
        for _, ref in shown:
            for box in presentations.get(ref, []):
                if box.get("refId") not in ids:
                    problems.append("%s shows %s, none of its elements" % (name, box.get("refId")))
    if problems:
        sys.exit("check_templates:\n  " + "\n  ".join(problems))
    print("check_templates: %d policies, %d values" % (len(admx.findall(".//p:policy", NS)), len(names)))


if __name__ == "__main__":
    main()
