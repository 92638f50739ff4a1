// 現在表示しているページのメニューを強調表示する
document.querySelectorAll('nav a').forEach(function (link) {
  if (link.href === location.href) {
    link.classList.add('current');
  }
});
