#!/usr/bin/python3
"""klprefs serve used in Debian's headless Chromium, as a person would.

Opens the page, clicks the colour row where it is drawn, picks a colour on
the picker's grid, drags the slider, types an exact value, toggles a switch
on the standard-cells page and goes back; saves Root.plist with a changed
label and sees the new frame; adds a picture of a row, saves the recorded
script and runs it with klprefs test --ci (which passes only on the picture
serve wrote), and replays it on a fresh copy of the device root, which must
end with the same stored values. Prints how long a save and a click take to show. Everything
runs on 127.0.0.1 in temporary folders; only the processes started here are
ended, by their ids.
"""

import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

BUNDLE = "var/jb/Library/PreferenceBundles/Demo.bundle"
DOMAIN = "var/mobile/Library/Preferences/com.example.demo.plist"


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


class Serve:
    """klprefs serve on a free port, for one device root."""

    def __init__(self, klprefs, root, script, avatar_host):
        self.process = subprocess.Popen(
            [klprefs, "--device-root", root, "--scale", "2",
             "--connect-to", avatar_host + ":443:127.0.0.1:1",
             "serve", "--port", "0", "--script", script],
            stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        check("http://127.0.0.1:" in line, "serve printed no address: " + repr(line))
        self.url = line[line.index("http://"):].split()[0]

    def end(self):
        # Ctrl-C's signal, to this process only.
        self.process.send_signal(signal.SIGINT)
        return self.process.wait(timeout=20)


class Browser:
    def __init__(self, url, shots):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-proxy-server",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--no-first-run", "--window-size=1400,1700",
                     "--user-data-dir=" + os.path.join(shots, "profile")]:
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        # Polled often: each step waits for its frame, and the default half-second
        # poll would make most of the test waiting.
        self.wait = WebDriverWait(self.driver, 20, poll_frequency=0.02)
        try:
            self.driver.get(url)
            self.wait.until(lambda d: d.execute_script(
                "return window.klprefs.frame > 0 && window.klprefs.page !== null"))
        except Exception:
            # The browser ends with the test, whatever kept the page from showing.
            self.driver.quit()
            raise
        self.frame = self.driver.find_element(By.ID, "frame")

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def page(self):
        return self.js("return window.klprefs.page")

    def generation(self):
        return self.js("return window.klprefs.frame")

    def wait_frame_after(self, generation):
        self.wait.until(lambda d: self.generation() > generation)

    def wait_page(self, test):
        self.wait.until(lambda d: test(self.page()))

    def _offset(self, x, y):
        # Selenium's offsets are from the element's middle; points are CSS pixels.
        size = self.frame.size
        return x - size["width"] / 2, y - size["height"] / 2

    def click(self, x, y):
        """Clicks a point of the page; answers the step the server recorded."""
        before = self.generation()
        steps = self.script_lines()
        dx, dy = self._offset(x, y)
        ActionChains(self.driver).move_to_element_with_offset(self.frame, dx, dy).click().perform()
        self.wait.until(lambda d: self.generation() > before or self.js(
            "return document.activeElement.id") == "keyboard")
        return self.new_step(steps)

    def drag(self, start, end):
        before = self.generation()
        steps = self.script_lines()
        dx, dy = self._offset(*start)
        (ActionChains(self.driver).move_to_element_with_offset(self.frame, dx, dy)
         .click_and_hold().move_by_offset((end[0] - start[0]) / 2, 0)
         .move_by_offset((end[0] - start[0]) / 2, end[1] - start[1]).release().perform())
        self.wait_frame_after(before)
        return self.new_step(steps)

    def type_into(self, element_id, text):
        before = self.generation()
        steps = self.script_lines()
        self.driver.find_element(By.ID, element_id).send_keys(text + Keys.ENTER)
        self.wait_frame_after(before)
        return self.new_step(steps)

    def script_lines(self):
        return self.driver.find_element(By.ID, "script").text.splitlines()

    def new_step(self, before):
        self.wait.until(lambda d: len(self.script_lines()) > len(before))
        return self.script_lines()[-1]

    def pixel(self, x, y):
        """The colour of the frame's picture at a point, as #RRGGBB."""
        return self.js("""
            const image = arguments[0], scale = image.naturalWidth / image.width;
            const canvas = document.createElement('canvas');
            canvas.width = image.naturalWidth; canvas.height = image.naturalHeight;
            const context = canvas.getContext('2d');
            context.drawImage(image, 0, 0);
            const p = context.getImageData(Math.round(arguments[1] * scale),
                                           Math.round(arguments[2] * scale), 1, 1).data;
            return '#' + [p[0], p[1], p[2]].map(v => v.toString(16).padStart(2, '0'))
                .join('').toUpperCase();""", self.frame, x, y)


def close_colours(a, b):
    # The drawn square may differ from its colour by a rounding step.
    return all(abs(int(a[i:i + 2], 16) - int(b[i:i + 2], 16)) <= 2 for i in (1, 3, 5))


def middle(frame):
    return frame["x"] + frame["width"] / 2, frame["y"] + frame["height"] / 2


def row_named(page, label):
    for row in page["rows"]:
        if row["label"] == label:
            return row
    fail("no row %r among %r" % (label, [r["label"] for r in page["rows"]]))


def view_of(row, cls):
    for view in row["views"]:
        if view["class"] == cls:
            return view
    fail("row %r has no %s" % (row["label"], cls))


def set_label(root, old, new):
    path = os.path.join(root, BUNDLE, "Root.plist")
    with open(path, encoding="utf-8") as source:
        text = source.read()
    check(old in text, "Root.plist holds no " + old)
    # An editor's save: a new file renamed over the old one.
    with open(path + ".new", "w", encoding="utf-8") as out:
        out.write(text.replace(old, new, 1))
    os.replace(path + ".new", path)


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--klprefs", required=True)
    parser.add_argument("--example", required=True, help="the built example device root")
    parser.add_argument("--avatar-host", default="unavatar.io")
    parser.add_argument("--screenshot", help="also keep the page's screenshot here")
    arguments = parser.parse_args()

    work = tempfile.mkdtemp(prefix="klprefs-serve-browser-")
    serve = browser = None
    try:
        root = os.path.join(work, "device")
        shutil.copytree(arguments.example, root, symlinks=True)
        scripts = os.path.join(work, "scripts")
        os.mkdir(scripts)
        recorded = os.path.join(scripts, "recorded.script")
        serve = Serve(arguments.klprefs, root, recorded, arguments.avatar_host)
        browser = Browser(serve.url, work)
        page = browser.page()
        check(page["page"]["title"] == "Demo", "the page is " + page["page"]["title"])

        # The colour row, clicked where it is drawn, opens the picker.
        step = browser.click(*middle(row_named(page, "Accent colour")["frame"]))
        check(step == 'tap "Accent colour"', "the colour row's click recorded " + step)
        browser.wait_page(lambda p: p["presented"] and p["presented"][-1]["kind"] == "colorPicker")
        # A square of the grid, clicked: the colour under the mouse is picked.
        point = (80, 300)
        under = browser.pixel(*point)
        step = browser.click(*point)
        picked = step.split()[-1]
        check(step.startswith("pick #") and close_colours(picked, under),
              "clicked %s on the grid, recorded %s" % (under, step))
        browser.wait_page(lambda p: p["domains"]["com.example.demo"]["accentColor"] == picked)
        # The spectrum, chosen by its segment: the colour drawn under the mouse.
        check(browser.click(195, 134) == "button Spectrum", "the segment did not choose")
        under = browser.pixel(250, 260)
        step = browser.click(250, 260)
        check(step.startswith("pick #") and close_colours(step.split()[-1], under),
              "clicked %s on the spectrum, recorded %s" % (under, step))
        # The red slider's thumb, dragged 40 points right: red grows by 40 of 254 steps.
        check(browser.click(314, 134) == "button Sliders", "the segment did not choose")
        spectrum = step.split()[-1]
        red = int(spectrum[1:3], 16)
        thumb = (16 + 14 + red / 255 * 254, 212)
        step = browser.drag(thumb, (thumb[0] + 40, thumb[1]))
        picked = step.split()[-1]
        check(step.startswith("pick #") and picked[3:] == spectrum[3:]
              and abs(int(picked[1:3], 16) - min(255, red + 40)) <= 2,
              "dragged red from %s, recorded %s" % (spectrum, step))
        browser.wait_page(lambda p: p["domains"]["com.example.demo"]["accentColor"] == picked)
        check(browser.type_into("step", "dismiss") == "dismiss", "the picker did not close")

        # The slider's thumb, dragged to the right.
        page = browser.page()
        opacity = page["rows"][3]
        thumb = middle(view_of(opacity, "UISlider")["thumb"])
        step = browser.drag(thumb, (thumb[0] + 60, thumb[1]))
        check(step.startswith("drag Opacity to "), "the drag recorded " + step)
        dragged = float(step.split()[-1])
        browser.wait_page(lambda p: abs(p["domains"]["com.example.demo"]["opacity"] - dragged) < 1e-3)

        # An exact value: the value label opens the entry alert, the keyboard types.
        label = next(v for v in browser.page()["rows"][3]["views"]
                     if v["class"] == "UILabel" and (v.get("text") or "").replace(".", "").isdigit())
        step = browser.click(*middle(label["frame"]))
        check(step.startswith("tap Opacity path:"), "the value label's click recorded " + step)
        browser.wait_page(lambda p: p["presented"] and p["presented"][-1]["kind"] == "alert")
        check(browser.type_into("keyboard", "0.65") == "type 0.65", "typing was not recorded")
        check(browser.type_into("step", "button OK") == "button OK", "the alert did not close")
        browser.wait_page(lambda p: abs(p["domains"]["com.example.demo"]["opacity"] - 0.65) < 1e-6)

        # The standard-cells page: its switch toggled, a save to Root.plist
        # while it is shown keeps it shown, then back.
        step = browser.click(*middle(row_named(browser.page(), "Standard cells")["frame"]))
        check(step == 'tap "Standard cells"', "the link's click recorded " + step)
        browser.wait_page(lambda p: p["page"]["shownTitle"] == "Standard cells")
        enabled = row_named(browser.page(), "Enabled")
        switch = middle(view_of(enabled, "UISwitch")["frame"])
        step = browser.click(*switch)
        check(step == "toggle Enabled", "the switch's click recorded " + step)
        browser.wait_page(lambda p: p["domains"]["com.example.demo"].get("enabled") is False)
        clicks = []
        for _ in range(10):
            before = browser.generation()
            browser.click(*switch)
            browser.wait_frame_after(before)
            clicks.append(browser.js("return window.klprefs.frameLoadedAt - window.klprefs.sentAt"))
        before = browser.generation()
        set_label(root, "<string>HIGHLIGHT</string>", "<string>Highlight, saved</string>")
        browser.wait_frame_after(before)
        browser.wait_page(lambda p: p["page"]["launches"] == 2)
        check(browser.page()["page"]["shownTitle"] == "Standard cells",
              "the rebuilt page left the standard cells")
        back = next(v for v in browser.page()["navigationBar"]["views"] if v["class"] == "UIButton")
        step = browser.click(*middle(back["frame"]))
        check(step == "back", "the back button's click recorded " + step)
        browser.wait_page(lambda p: p["page"]["shownTitle"] == "Demo")
        browser.wait_page(lambda p: any(r["label"] == "Highlight, saved" for r in p["rows"]))

        # Saves to Root.plist, each shown as a new frame: how long each takes.
        saves = []
        for n in range(20):
            before = browser.generation()
            old = "Highlight, saved" if n == 0 else "Highlight %d" % (n - 1)
            started = time.time() * 1000
            set_label(root, "<string>%s</string>" % old, "<string>Highlight %d</string>" % n)
            browser.wait_frame_after(before)
            saves.append(browser.js("return window.klprefs.frameLoadedAt") - started)
        browser.wait_page(lambda p: any(r["label"] == "Highlight 19" for r in p["rows"]))

        # A bundle that fails to load shows its error over the last frame; the next save clears it.
        plist = os.path.join(root, BUNDLE, "Root.plist")
        with open(plist, encoding="utf-8") as source:
            good = source.read()
        with open(plist, "w", encoding="utf-8") as out:
            out.write("<plist><dict><key>items</key>")
        browser.wait.until(lambda d: browser.driver.find_element(By.ID, "error").is_displayed())
        check("Root.plist" in browser.driver.find_element(By.ID, "error").text,
              "the error names no file")
        if arguments.screenshot:
            browser.driver.save_screenshot(arguments.screenshot.replace(".png", "-error.png"))
        with open(plist, "w", encoding="utf-8") as out:
            out.write(good)
        browser.wait.until(lambda d: not browser.driver.find_element(By.ID, "error").is_displayed())

        # A variant chosen in the page: the dark appearance builds the page anew.
        before = browser.generation()
        launches = browser.page()["page"]["launches"]
        light = browser.pixel(4, 200)
        Select(browser.driver.find_element(By.ID, "appearance")).select_by_visible_text("dark")
        browser.wait_frame_after(before)
        browser.wait_page(lambda p: p["variant"]["appearance"] == "dark"
                          and p["page"]["launches"] > launches)
        dark = browser.pixel(4, 200)
        check(int(dark[1:3], 16) < int(light[1:3], 16),
              "the page's background is %s in light and %s in dark" % (light, dark))

        # Without libklutils serve starts anew; the page follows it there and back.
        for loaded in (False, True):
            before = browser.generation()
            browser.driver.find_element(By.ID, "klutils").click()
            browser.wait_page(lambda p: p["variant"]["libraries"]["klutils"] == loaded)
            browser.wait_frame_after(before)
        check(browser.page()["variant"]["appearance"] == "dark", "the relaunch lost the variant")

        # Expectations of what the changed rows store, then the script saved.
        for index in (0, 3):
            lines = browser.script_lines()
            browser.js("document.getElementById('expectRow').value = arguments[0]", str(index))
            browser.driver.find_element(By.ID, "expectStored").click()
            browser.new_step(lines)
        check(browser.script_lines()[-2] == "expect \"Accent colour\" stored " + picked,
              "the expectation reads " + browser.script_lines()[-2])
        # A picture of the colour row, taken in the variant serve started in.
        before = browser.generation()
        Select(browser.driver.find_element(By.ID, "appearance")).select_by_visible_text("light")
        browser.wait_frame_after(before)
        browser.wait_page(lambda p: p["variant"]["appearance"] == "light")
        lines = browser.script_lines()
        refused = browser.driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "fetch('/api/expect', {method: 'POST', headers: {'Content-Type': 'application/json'},"
            " body: JSON.stringify({what: 'image', name: '../escape'})}).then((r) => done(r.status));")
        check(refused == 400 and browser.script_lines() == lines,
              "a bad picture name answered %s" % refused)
        browser.js("document.getElementById('expectRow').value = '0'")
        browser.driver.find_element(By.ID, "expectRowPicture").click()
        step = browser.new_step(lines)
        check(step == 'expect image page-1 row "Accent colour"', "the picture recorded " + step)
        browser.driver.find_element(By.ID, "save").click()
        browser.wait.until(lambda d: "saved" in d.find_element(By.ID, "status").text)
        check("1 picture" in browser.driver.find_element(By.ID, "status").text,
              "the save wrote no picture")
        if arguments.screenshot:
            browser.driver.save_screenshot(arguments.screenshot)
        shown = browser.page()["domains"]["com.example.demo"]

        # The script, run on fresh copies of the example: it passes, and stores the same.
        # --ci: a missing picture fails, so the test passes only on the one serve wrote.
        result = subprocess.run([arguments.klprefs, "--connect-to",
                                 arguments.avatar_host + ":443:127.0.0.1:1", "--scale", "2",
                                 "--device-root", arguments.example, "test", scripts, "--ci"],
                                capture_output=True, text=True, timeout=300)
        check(result.returncode == 0 and "1 passed" in result.stdout,
              "klprefs test: " + result.stdout + result.stderr)
        check(os.path.isfile(os.path.join(scripts, "__snapshots__", "recorded", "page-1.png")),
              "no picture beside the script")
        # klprefs run keeps no pictures: it replays the script without them.
        with open(recorded, encoding="utf-8") as source:
            steps = [line for line in source if not line.startswith("expect image ")]
        replay = os.path.join(work, "replay.script")
        with open(replay, "w", encoding="utf-8") as out:
            out.writelines(steps)
        fresh = os.path.join(work, "fresh")
        shutil.copytree(arguments.example, fresh, symlinks=True)
        result = subprocess.run([arguments.klprefs, "--connect-to",
                                 arguments.avatar_host + ":443:127.0.0.1:1",
                                 "--device-root", fresh, "run", replay, "--json"],
                                capture_output=True, text=True, timeout=300)
        check(result.returncode == 0, "klprefs run: " + result.stderr)
        replayed = json.loads(result.stdout)["domains"]["com.example.demo"]
        check(replayed == shown, "replayed %r, shown %r" % (replayed, shown))

        check(serve.end() == 0, "serve did not end cleanly")
        serve = None
        print("save to new frame shown: median %.0f ms, 95th percentile %.0f ms (%d saves)"
              % (statistics.median(saves), percentile(saves, 0.95), len(saves)))
        print("click to new frame shown: median %.0f ms, 95th percentile %.0f ms (%d clicks)"
              % (statistics.median(clicks), percentile(clicks, 0.95), len(clicks)))
        print("passed")
    finally:
        if browser:
            browser.driver.quit()
        if serve:
            serve.end()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
