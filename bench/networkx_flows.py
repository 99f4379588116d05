#!/usr/bin/env python3
"""Transit and total flows of a drawing, computed with networkx: what a user could write instead of running
sewercalc. scripts/bench_processes.sh times it beside `sewercalc run` on the same drawing.

It reads every section and node row of the drawing (a GeoPackage) with sqlite3, forms each section's own flow
from the ten own-flow components, carries it downstream the way the transit calculation does (all upstream
flow goes on into one outgoing section at a division: the node's stored main direction, else the only
largest inner diameter, else nowhere), and writes FLOW_TRANSIT and FLOW_TOTAL (own flow plus transit) back
in one transaction.

    networkx_flows.py DRAWING.gpkg
"""
import sqlite3
import sys
from collections import defaultdict

import networkx as nx

COMPONENTS = ["FLOW_ADDITIONAL", "FLOW_WASTE_HOME", "FLOW_WASTE_PER", "FLOW_WASTE_IND", "FLOW_RAIN",
              "FLOW_FOREIGN", "FLOW_POINT", "FLOW_USER", "FLOW_TUR_WASTE_IND", "FLOW_TUR_WASTE_INF"]
MISSING = -1000000.0


def main(path):
    db = sqlite3.connect(path)
    columns = {row[1] for row in db.execute("PRAGMA table_info(sections)")}
    present = [c for c in COMPONENTS if c in columns]
    dia = "PIPE_DIA_IN" if "PIPE_DIA_IN" in columns else "NULL"
    rows = db.execute(f"SELECT fid, guid, start_node_guid, end_node_guid, {dia}"
                      + "".join(f", {c}" for c in present) + " FROM sections").fetchall()
    node_columns = {row[1] for row in db.execute("PRAGMA table_info(nodes)")}
    stored_main = {}
    if "MAIN_SECT_OUT" in node_columns:
        stored_main = dict(db.execute("SELECT guid, MAIN_SECT_OUT FROM nodes WHERE MAIN_SECT_OUT IS NOT NULL"))

    own, end_of, leaving = {}, {}, defaultdict(list)
    diameter, fid_of = {}, {}
    for fid, guid, start, end, d, *values in rows:
        fid_of[guid] = fid
        own[guid] = sum(float(v) for v in values if v is not None and float(v) != MISSING)
        end_of[guid] = end
        leaving[start].append(guid)
        diameter[guid] = d

    graph = nx.DiGraph()
    graph.add_nodes_from(own)
    for guid, end in end_of.items():
        outgoing = leaving.get(end, [])
        if len(outgoing) == 1:
            graph.add_edge(guid, outgoing[0])
        elif len(outgoing) > 1:
            chosen = stored_main.get(end)
            if chosen not in outgoing:
                known = [s for s in outgoing if diameter[s] is not None]
                largest = max((float(diameter[s]) for s in known), default=None)
                best = [s for s in known if float(diameter[s]) == largest]
                chosen = best[0] if len(best) == 1 else None
            if chosen:
                graph.add_edge(guid, chosen)

    carried = {}
    for guid in nx.topological_sort(graph):
        carried[guid] = own[guid] + sum(carried[p] for p in graph.predecessors(guid))
    updates = []
    for guid, total in carried.items():
        transit = total - own[guid] if graph.in_degree(guid) > 0 else None
        updates.append((transit, total, fid_of[guid]))
    with db:
        db.executemany("UPDATE sections SET FLOW_TRANSIT = ?, FLOW_TOTAL = ? WHERE fid = ?", updates)
    db.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
