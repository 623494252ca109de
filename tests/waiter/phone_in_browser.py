#!/usr/bin/python3
"""A waiter's phone in headless Chromium (390 x 844): logs in, opens a table, orders three items,
one with a note, and commits. Saves screenshots of the board and the order into a folder.

    phone_in_browser.py URL TABLE SCREENSHOT_FOLDER
"""
import os
import sys

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support import expected_conditions as ready
from selenium.webdriver.support.ui import Select, WebDriverWait

url, table, shots = sys.argv[1], sys.argv[2], sys.argv[3]

options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
            "--window-size=390,844", "--lang=zh-CN"):
    options.add_argument(arg)
options.add_experimental_option("mobileEmulation", {
    "deviceMetrics": {"width": 390, "height": 844, "pixelRatio": 2},
    "userAgent": "Mozilla/5.0 (Linux; Android 13) Mobile"})
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
# Generous: the machine may be busy with builds.
wait = WebDriverWait(driver, 60)


def tap(css):
    element = wait.until(ready.element_to_be_clickable((By.CSS_SELECTOR, css)))
    driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", element)
    element.click()
    return element


def staged_count():
    return len(driver.find_elements(By.CSS_SELECTOR, "#staged > button"))


def order_by_code(code):
    before = staged_count()
    box = wait.until(ready.visibility_of_element_located((By.ID, "search")))
    box.clear()
    box.send_keys(code)
    tap('#items button[data-item="%s"]' % code)
    wait.until(lambda d: staged_count() == before + 1)


try:
    driver.get(url)
    wait.until(ready.visibility_of_element_located((By.ID, "login-code")))
    # A figure for docs/waiter.md, not a limit: the first paint of the login page, cold.
    paint = wait.until(lambda d: d.execute_script(
        "const p = performance.getEntriesByName('first-contentful-paint')[0];"
        "return p ? p.startTime : null;"))
    print("first-contentful-paint %.0f ms" % paint)
    driver.find_element(By.ID, "login-code").send_keys("02")
    driver.find_element(By.ID, "login-password").send_keys("2222")
    tap('#login-form button[type="submit"]')
    tap('#tables button[data-table="%s"]' % table)
    driver.save_screenshot(os.path.join(shots, "waiter-opening.png"))
    guests = wait.until(ready.visibility_of_element_located((By.ID, "opening-guests")))
    guests.clear()
    guests.send_keys("3")
    tap("#opening-confirm")
    wait.until(ready.visibility_of_element_located((By.ID, "ordering")))

    order_by_code("102001")
    order_by_code("202001")
    order_by_code("104001")
    # The note (口味) on the first line.
    tap("#staged > button:first-child")
    Select(wait.until(ready.visibility_of_element_located((By.ID, "line-note")))).select_by_visible_text("少辣")
    tap("#line-save")
    wait.until(lambda d: "少辣" in d.find_element(By.ID, "staged").text)
    driver.save_screenshot(os.path.join(shots, "waiter-order.png"))

    tap("#commit")
    wait.until(ready.alert_is_present()).accept()
    # The tickets print after the answer; the page tells when they are out.
    wait.until(lambda d: "出品单已送出" in d.find_element(By.ID, "message").text)
    driver.save_screenshot(os.path.join(shots, "waiter-bill.png"))
    tap("#back")
    wait.until(ready.visibility_of_element_located((By.CSS_SELECTOR, '#tables button.s2[data-table="%s"]' % table)))
    driver.save_screenshot(os.path.join(shots, "waiter-board.png"))
    print("ordered")
finally:
    driver.quit()
