var i, count: Integer;
begin
  i := 0;
  repeat
    i := i + 3;
  until i > 10;
  PrintLn(i);
  count := 0;
  repeat
    count := count + 1;
  until True;
  Print('runs at least once: '); PrintLn(count);
  i := 1;
  repeat
    i := i * 2;
    count := count + 1;
  until (i >= 64) or (count > 100);
  PrintLn(i);
  PrintLn(count);
end.
