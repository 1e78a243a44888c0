#!/usr/bin/python3
"""quintaraz-map gallery's pages in a real browser: headless Chromium, from file:// and from
a local HTTP server. Every picture decodes and every link resolves; sorting and the verdict
filter change the rows; names that try to be markup show as text, with no dialog and no
console error; a 360-pixel phone has no sideways scroll; a screenshot of a map's page shows
the picture's own pixels where the page puts it.

    tst_browser.py QUINTARAZ_MAP SOURCE_ROOT SCREENSHOT_FOLDER

Prints "N passed, M failed" and exits 1 when a check fails."""
import functools
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import urllib.parse
import urllib.request

from PIL import Image
from selenium import webdriver
from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

TOOL, ROOT, SHOTS = sys.argv[1], sys.argv[2], sys.argv[3]
HOSTILE = [b"<img src=x onerror=alert(1)>.map", b"\"';alert(1);x.map", b"mont\xf1a.map"]
results = {"passed": 0, "failed": 0}


def check(condition, what):
    results["passed" if condition else "failed"] += 1
    if not condition:
        print("FAIL:", what)


def collection(folder):
    """docs/valle.map, the generator's maps, the test maps (two are no maps), hostile names."""
    os.makedirs(folder)
    shutil.copy(os.path.join(ROOT, "docs", "valle.map"), folder)
    for source in ("tests/generate", "tests/gallery/mapas"):
        for name in sorted(os.listdir(os.path.join(ROOT, source))):
            if name.endswith(".map"):
                shutil.copy(os.path.join(ROOT, source, name), folder)
    with open(os.path.join(ROOT, "tests/gallery/mapas/encerrado.map"), "rb") as file:
        unfair = file.read()
    for name in HOSTILE:
        with open(os.path.join(os.fsencode(folder), name), "wb") as file:
            file.write(unfair)


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    # As root on a machine with no network: no sandbox, nothing fetched in the background.
    for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                     "--user-data-dir=" + tempfile.mkdtemp(prefix="chromium-"),
                     "--force-device-scale-factor=1", "--allow-file-access-from-files"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(shutil.which("chromedriver") or
                                              "/usr/bin/chromedriver"), options=options)
    # Any dialog a page opens is recorded before it could show.
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        window.__dialogs = [];
        for (const name of ["alert", "confirm", "prompt"])
            window[name] = (text) => { window.__dialogs.push(String(text)); };"""})
    return driver


def width(driver, pixels, mobile=False):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": pixels, "height": 740 if mobile else 900,
                            "deviceScaleFactor": 1, "mobile": mobile})


def load(driver, url):
    driver.get(url)
    WebDriverWait(driver, 30).until(lambda d: d.execute_script(
        "return document.readyState === 'complete' && "
        "Array.from(document.images).every(i => i.complete)"))


def console_errors(driver):
    return [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def resolves(url):
    parsed = urllib.parse.urlparse(url)
    if parsed.scheme == "file":
        return os.path.isfile(urllib.parse.unquote_to_bytes(parsed.path))
    try:
        with urllib.request.urlopen(url, timeout=10) as answer:
            return answer.status == 200
    except OSError:
        return False


def check_page(driver, url, where):
    """Pictures decoded, links resolved, no dialog, no console error; the page's own links."""
    load(driver, url)
    check(driver.execute_script("return document.documentElement.lang") == "es", where + ": lang")
    broken = driver.execute_script(
        "return Array.from(document.images).filter(i => !(i.naturalWidth > 0)).map(i => i.src)")
    check(not broken, f"{where}: pictures that do not decode: {broken}")
    links = driver.execute_script("return Array.from(document.links).map(a => a.href)")
    for link in set(links):
        check(resolves(link), f"{where}: link does not resolve: {link}")
    check(driver.execute_script("return window.__dialogs") == [], where + ": a dialog opened")
    try:
        driver.switch_to.alert
        check(False, where + ": an alert is open")
    except NoAlertPresentException:
        pass
    errors = console_errors(driver)
    check(not errors, f"{where}: console errors {errors}")
    return links


def shown_names(driver):
    return driver.execute_script(
        "return Array.from(document.querySelectorAll('#mapas tbody tr'))"
        ".filter(r => !r.hidden).map(r => r.cells[1].textContent)")


def check_sorting_and_filter(driver, where):
    rows = driver.execute_script(
        "return Array.from(document.querySelectorAll('#mapas tbody tr')).map(r => "
        "[r.cells[1].textContent, Number(r.cells[5].dataset.orden), Number(r.cells[2].dataset.orden),"
        " r.dataset.veredicto])")
    given = [row[0] for row in rows]
    button = driver.find_element(By.XPATH, "//th/button[text()='Razón']")
    button.click()
    shown = shown_names(driver)
    ratios = {row[0]: row[1] for row in rows}
    check([ratios[name] for name in shown] == sorted(ratios[name] for name in shown),
          f"{where}: ascending ratios")
    check(shown != given, f"{where}: sorting changed the order of the rows")
    button.click()
    shown = shown_names(driver)
    check([ratios[name] for name in shown] == sorted((ratios[name] for name in shown), reverse=True),
          f"{where}: descending ratios")
    driver.find_element(By.XPATH, "//th/button[text()='Tamaño']").click()
    sizes = {row[0]: row[2] for row in rows}
    shown = shown_names(driver)
    check([sizes[name] for name in shown] == sorted(sizes[name] for name in shown),
          f"{where}: sorted by size")
    # The filter: the unbalanced ones away, then back.
    verdicts = {row[0]: row[3] for row in rows}
    box = driver.find_element(By.CSS_SELECTOR, "input[value='desequilibrado']")
    expected = [name for name in shown_names(driver) if verdicts[name] != "desequilibrado"]
    box.click()
    shown = shown_names(driver)
    check(shown == expected and 0 < len(shown) < len(rows),
          f"{where}: the filter left out the unbalanced maps and only them")
    status = driver.find_element(By.ID, "mostrados").text
    check(status == f"Se muestran {len(expected)} de {len(rows)} mapas.", f"{where}: {status}")
    box.click()
    check(len(shown_names(driver)) == len(rows), f"{where}: filter undone")


def check_keyboard(driver, where):
    """The sort buttons and the filter are reached with Tab, and the focus is seen."""
    body = driver.find_element(By.TAG_NAME, "body")
    reached = set()
    for _ in range(40):
        body.send_keys(Keys.TAB)
        focused = driver.execute_script("""
            const e = document.activeElement, s = getComputedStyle(e);
            return [e.tagName, e.textContent || e.value || '', s.outlineStyle,
                    parseFloat(s.outlineWidth), s.boxShadow];""")
        if focused[0] in ("BUTTON", "INPUT"):
            reached.add(focused[1])
            check(focused[2] != "none" and focused[3] >= 2 and focused[4] != "none",
                  f"{where}: focus on {focused[1]} is not seen")
    for control in ("Mapa", "Tamaño", "Veredicto", "Razón", "equilibrado", "injusto"):
        check(control in reached, f"{where}: {control} not reached by keyboard")


def check_hostile(driver, where):
    names = driver.execute_script(
        "return Array.from(document.querySelectorAll('#mapas tbody th')).map(c => c.textContent)")
    for expected in ("<img src=x onerror=alert(1)>.map", "\"';alert(1);x.map", "mont\\xf1a.map"):
        check(any(name.endswith(expected) for name in names), f"{where}: {expected} not shown as text")
    check(driver.execute_script("return document.querySelectorAll('img[src=\"x\"]').length") == 0,
          where + ": a name became a picture")
    check(driver.execute_script("return window.__dialogs") == [], where + ": a dialog opened")


def no_sideways_scroll(driver, url, where):
    load(driver, url)
    scroll = driver.execute_script(
        "return [document.documentElement.scrollWidth, window.innerWidth]")
    check(scroll[0] <= scroll[1], f"{where}: page is {scroll[0]} wide in {scroll[1]}")


def check_picture_pixels(driver, url, site, where):
    """The map's picture in a screenshot: each cell's middle, sampled, is one of the picture's
    own pixels about that place (the browser scales it nearest-neighbour), save where a
    player's number lies over it."""
    load(driver, url)
    box = driver.execute_script("""
        const img = document.querySelector('figure.mapa img');
        img.scrollIntoView();
        const r = img.getBoundingClientRect();
        const labels = Array.from(img.parentElement.querySelectorAll('text'))
            .map(t => t.getBoundingClientRect()).map(b => [b.left, b.top, b.right, b.bottom]);
        return [r.left, r.top, r.width, r.height, img.getAttribute('src'), labels];""")
    left, top, shown_width, shown_height, source, labels = box
    shot_path = os.path.join(SHOTS, "pixels.png")
    driver.save_screenshot(shot_path)
    shot = Image.open(shot_path).convert("RGB")
    picture = Image.open(os.path.join(site, "mapas", os.path.basename(source))).convert("RGB")
    scale = picture.width / shown_width
    compared = matched = 0
    for sy in range(4, int(shown_height) - 4, 7):
        for sx in range(4, int(shown_width) - 4, 7):
            x, y = left + sx, top + sy
            if y >= shot.height or any(l - 2 <= x <= r + 2 and t - 2 <= y <= b + 2
                                       for l, t, r, b in labels):
                continue
            seen = shot.getpixel((int(x), int(y)))
            px, py = int(sx * scale), int(sy * scale)
            near = {picture.getpixel((min(max(px + dx, 0), picture.width - 1),
                                      min(max(py + dy, 0), picture.height - 1)))
                    for dx in range(-2, 3) for dy in range(-2, 3)}
            compared += 1
            matched += seen in near
    check(compared > 500, f"{where}: only {compared} pixels compared")
    check(matched >= compared * 0.99, f"{where}: {matched} of {compared} pixels are the picture's")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def main():
    os.makedirs(SHOTS, exist_ok=True)
    work = tempfile.mkdtemp(prefix="galeria-")
    try:
        maps = os.path.join(work, "mapas")
        site = os.path.join(work, "sitio")
        collection(maps)
        # From the folder above the maps, as a person runs it: names read "mapas/valle.map".
        made = subprocess.run([TOOL, "gallery", "--title", "Mapas de prueba", "--output", "sitio",
                               "mapas"], capture_output=True, text=True, cwd=work)
        # Two files of the collection are no maps: listed, and said with exit status 2.
        check(made.returncode == 2, f"gallery exit status {made.returncode}: {made.stderr}")
        server = serve(site)
        driver = browser()
        try:
            width(driver, 1280)
            for base in (f"file://{urllib.parse.quote(site)}/",
                         f"http://127.0.0.1:{server.server_address[1]}/"):
                where = base.split(":")[0]
                links = check_page(driver, base + "index.html", where + " index")
                check_hostile(driver, where + " index")
                check_sorting_and_filter(driver, where + " index")
                load(driver, base + "index.html")
                check_keyboard(driver, where + " index")
                pages = sorted({link for link in links if "/mapas/" in link and link.endswith(".html")})
                check(len(pages) == 12, f"{where}: {len(pages)} map pages linked")
                for page in pages:
                    check_page(driver, page, f"{where} {page.rsplit('/', 1)[1]}")
                valley = next(page for page in pages if "/valle-" in page)
                check_picture_pixels(driver, valley, site, where + " valle")
            width(driver, 1280)
            load(driver, base + "index.html")
            driver.save_screenshot(os.path.join(SHOTS, "indice-1280.png"))
            load(driver, valley)
            driver.save_screenshot(os.path.join(SHOTS, "mapa-1280.png"))
            # 200 % zoom on a 1280-pixel screen: a page 640 pixels wide.
            width(driver, 640)
            no_sideways_scroll(driver, base + "index.html", "640 index")
            no_sideways_scroll(driver, valley, "640 valle")
            width(driver, 360, mobile=True)
            no_sideways_scroll(driver, base + "index.html", "360 index")
            driver.save_screenshot(os.path.join(SHOTS, "indice-360.png"))
            for page in pages:
                no_sideways_scroll(driver, page, "360 " + page.rsplit("/", 1)[1])
            load(driver, valley)
            driver.save_screenshot(os.path.join(SHOTS, "mapa-360.png"))
            check(driver.execute_script("return window.__dialogs") == [], "a dialog opened")
        finally:
            driver.quit()
            server.shutdown()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"{results['passed']} passed, {results['failed']} failed")
    return 1 if results["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
