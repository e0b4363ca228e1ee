var done, flag: Boolean;
  n: Integer;
begin
  done := False;
  flag := not done;
  Print('flag='); PrintLn(flag);
  Print('done=flag '); PrintLn(done = flag);
  Print('done<>flag '); PrintLn(done <> flag);
  Print('flag=True '); PrintLn(flag = True);
  n := 0;
  while not done do
  begin
    n := n + 1;
    done := n >= 3;
  end;
  Print('n='); PrintLn(n);
  flag := (n > 2) and not (n > 5);
  Print('flag='); PrintLn(flag);
end.
