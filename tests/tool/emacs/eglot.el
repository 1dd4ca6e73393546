;;; eglot.el --- Emacs's eglot drives `kvnode lsp' as docs/kvnode.md sets it up -*- lexical-binding: t -*-
;; Run in batch (ctest does):
;;   KVNODE=kvnode DOC=tests/data/tool/lsp/session.xml emacs --batch -l eglot.el
;; DOC is copied first. Exits 0 when the findings arrive and go to definition
;; answers, 1 with what failed.
(require 'package)
(package-initialize)
(require 'eglot)
(add-to-list 'eglot-server-programs `(nxml-mode . (,(getenv "KVNODE") "lsp")))

(let* ((doc (make-temp-file "kvnode-eglot" nil ".xml"))
       (failures '()))
  (copy-file (getenv "DOC") doc t)
  (find-file doc)
  (nxml-mode)
  ;; eglot-ensure waits for a command loop that batch mode lacks
  (apply #'eglot (eglot--guess-contact))
  (let ((deadline (+ (float-time) 30)))
    (while (and (< (float-time) deadline) (< (length (flymake-diagnostics)) 3))
      (accept-process-output nil 0.1)))
  (let ((texts (mapcar #'flymake-diagnostic-text (flymake-diagnostics))))
    (dolist (rule '("[misspelt-attribute]" "[plate-planes]" "[empty-size]"))
      (unless (seq-find (lambda (text) (string-search rule text)) texts)
        (push (format "no %s among %S" rule texts) failures))))
  (goto-char (point-min))
  (forward-line 10)
  (search-forward "planes=\"Face,T")
  (let ((lines (mapcar (lambda (x) (xref-location-line (xref-item-location x)))
                       (xref-backend-definitions 'eglot (xref-backend-identifier-at-point 'eglot)))))
    (unless (equal lines '(6))
      (push (format "Top is defined on line 6, not %S" lines) failures)))
  (eglot-shutdown (eglot-current-server))
  (set-buffer-modified-p nil)
  (delete-file doc)
  (dolist (f failures) (message "FAIL: %s" f))
  (kill-emacs (if failures 1 0)))
