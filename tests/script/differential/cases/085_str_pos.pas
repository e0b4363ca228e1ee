var s: string;
begin
  s := 'abcdcd';
  Print('cd '); PrintLn(Pos('cd', s));
  Print('a '); PrintLn(Pos('a', s));
  Print('d '); PrintLn(Pos('d', s));
  Print('x '); PrintLn(Pos('x', s));
  Print('abcdcd '); PrintLn(Pos('abcdcd', s));
  Print('abcdcde '); PrintLn(Pos('abcdcde', s));
  Print('C '); PrintLn(Pos('C', s));
  Print('in empty '); PrintLn(Pos('a', ''));
  Print('after first '); PrintLn(Pos('cd', Copy(s, 4, 10)));
end.
