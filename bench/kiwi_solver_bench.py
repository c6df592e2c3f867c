#!/usr/bin/python3
"""Times kiwisolver on the systems that bench_solver builds for our solver.

The systems here must stay the same as in solver_bench.cpp. Each line of
output is "<system> <seconds>": the median of the repetitions after one
untimed round, in thread CPU time, timing only the solver's work (adding the
prepared constraints and reading the solution, or suggesting values and
reading the solution), not building the constraints.
"""

import statistics
import sys
import time

from kiwisolver import Solver, Variable, strength


class View:
    def __init__(self):
        self.left = Variable()
        self.top = Variable()
        self.width = Variable()
        self.height = Variable()


def sibling_constraints(parent, view, i, preferred_width):
    return [
        view.left == parent.left + 8,
        view.top == parent.top + 44 * i,
        view.width <= parent.width - 16,
        (view.width == preferred_width) | strength.medium,
        view.height == 44,
        view.top + view.height <= parent.top + parent.height,
    ]


def siblings(count):
    parent = View()
    constraints = [parent.left == 0, parent.top == 0, parent.width == 1000,
                   parent.height == 44 * count]
    for i in range(count):
        constraints += sibling_constraints(parent, View(), i, 200 + (i % 7) * 150)
    return constraints


def chain(count):
    parent = View()
    constraints = [parent.left == 0, parent.width == 58 * count]
    previous_right = parent.left + 0
    for i in range(count):
        view = View()
        constraints += [
            view.left == previous_right,
            view.width >= 0,
            (view.width == 40 + (i % 5) * 10) | strength.create(0, 1 + i % 3, 0),
        ]
        previous_right = view.left + view.width
    constraints.append(previous_right <= parent.left + parent.width)
    return constraints


def time_add(build, count):
    constraints = build(count)
    solver = Solver()
    start = time.thread_time()
    for constraint in constraints:
        solver.addConstraint(constraint)
    solver.updateVariables()
    return time.thread_time() - start


EDIT_VIEWS = 833
SUGGESTIONS = 1000


def edit_width(step):
    return 300 + abs((step * 5) % 1000 - 500)


def time_suggest():
    parent = View()
    solver = Solver()
    for constraint in [parent.left == 0, parent.top == 0, parent.height == 44 * EDIT_VIEWS]:
        solver.addConstraint(constraint)
    for i in range(EDIT_VIEWS):
        for constraint in sibling_constraints(parent, View(), i, 100 + (i % 50) * 10):
            solver.addConstraint(constraint)
    solver.addEditVariable(parent.width, strength.strong)
    solver.suggestValue(parent.width, edit_width(0))
    solver.updateVariables()
    start = time.thread_time()
    for step in range(SUGGESTIONS):
        solver.suggestValue(parent.width, edit_width(step))
        solver.updateVariables()
    return time.thread_time() - start


def main():
    repetitions = int(sys.argv[1]) if len(sys.argv) > 1 else 3
    systems = [
        ("siblings/1000", lambda: time_add(siblings, 1000)),
        ("siblings/3000", lambda: time_add(siblings, 3000)),
        ("chain/300", lambda: time_add(chain, 300)),
        ("chain/1000", lambda: time_add(chain, 1000)),
        ("suggest/1000", time_suggest),
    ]
    for name, run in systems:
        run()  # untimed, so the allocator has grown to the system's size
        seconds = statistics.median(run() for _ in range(repetitions))
        print(f"{name} {seconds:.9f}", flush=True)


if __name__ == "__main__":
    main()
