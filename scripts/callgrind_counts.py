"""Counts the instructions one function executed itself, and its divisions.

usage: callgrind_counts.py PROFILE FUNCTION DISASSEMBLY

PROFILE is callgrind's output file (--dump-instr=yes --compress-pos=no
--compress-strings=no), FUNCTION the function's name as callgrind writes it,
DISASSEMBLY its objdump disassembly from the same binary, heading line first.
Prints "EXECUTED DIVIDED": the instructions the function executed itself
(callees left out) and how many of them were idiv.
"""

import sys


def own_costs(profile, function):
    """The function's own cost lines, as {address: count}."""
    costs = {}
    inside = after_call = False
    with open(profile) as lines:
        for line in lines:
            if line.startswith("fn="):
                inside = line.rstrip("\n") == "fn=" + function
                continue
            # The line after a calls= line is a callee's inclusive cost.
            if line.startswith("calls="):
                after_call = True
                continue
            if after_call:
                after_call = False
                continue
            if inside and line.startswith("0x"):
                address, count = line.split()[:2]
                costs[int(address, 16)] = costs.get(int(address, 16), 0) + int(count)
    return costs


def main(profile, function, disassembly):
    costs = own_costs(profile, function)
    if not costs:
        sys.exit("callgrind saw no instruction of " + function)
    with open(disassembly) as lines:
        listing = [line.split() for line in lines]
    # The entry instruction always runs, so the lowest address is the function's
    # start: that maps callgrind's addresses onto the disassembly's.
    shift = min(costs) - int(listing[0][0], 16)
    divided = sum(
        costs.get(int(fields[0].rstrip(":"), 16) + shift, 0)
        for fields in listing[1:]
        if len(fields) > 1 and fields[1].startswith("idiv")
    )
    print(sum(costs.values()), divided)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
